#include "OlgCtl.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform of the label asks for a runtime folder, and Qt warns when the session has none;
// the tool needs no such folder, so the warning would only puzzle its user.
void DropRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")) &&
        message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (defaultHandler)
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    defaultHandler = qInstallMessageHandler(DropRuntimeFolderWarning);
    // Labels are drawn with fonts, which need a GUI application; the tool never shows a window. The other
    // verbs do without one.
    std::unique_ptr<QCoreApplication> application;
    if (std::any_of(argv + 1, argv + argc,
                    [](const char* word) { return std::strcmp(word, "label") == 0; })) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("olgctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OLG_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    const int code = olg::cli::OlgCtl(out, err, &in).Run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
