// Stands in for the client in the single-instance test: forwards to a running instance and exits 0, or listens
// and reports every activation on standard output.
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    SingleInstance instance;
    if (instance.NotifyRunningInstance()) {
        out << "forwarded" << Qt::endl;
        return 0;
    }
    if (!instance.Listen()) {
        out << "not listening" << Qt::endl;
        return 3;
    }
    QObject::connect(&instance, &SingleInstance::ActivationRequested, [&out] { out << "activated" << Qt::endl; });
    out << "listening " << instance.ServerPath() << Qt::endl;
    return app.exec();
}
