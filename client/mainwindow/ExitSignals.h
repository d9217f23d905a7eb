#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the GUI thread, so that Ctrl-C, a session logout or a
// service stop leave the program the way the tray menu's Exit does (settings saved, devices logged out) instead
// of killing it. One instance per process; a second signal while the first is handled is folded into it.
class ExitSignals : public QObject
{
    Q_OBJECT

public:
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

signals:
    void ExitRequested(int signalNumber);

private:
    void ReadSignal();

    QSocketNotifier* m_Notifier = nullptr;
};
