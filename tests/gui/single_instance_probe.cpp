// A program that claims the single instance as the desktop program does and says what became of it:
// "primary", then "activated" for every later start; or "secondary".

#include "LocalSocketInstance.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    olg::LocalSocketInstance instance(QStringLiteral("olgfinder-probe"));
    if (!instance.Claim()) {
        out << "secondary" << Qt::endl;
        return 0;
    }
    QObject::connect(&instance, &olg::SingleInstance::ActivationRequested,
                     [&out] { out << "activated" << Qt::endl; });
    out << "primary" << Qt::endl;
    return QCoreApplication::exec();
}
