#include "OlgCtl.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("olgctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OLG_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = olg::cli::OlgCtl(out, err).Run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
