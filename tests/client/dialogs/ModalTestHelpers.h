#pragma once

// Acting inside the modal loops a window runs (a message box, a file dialog, a progress dialog) the way an
// operator would: wait for the window, then act on it from a timer of the GUI thread.

#include "TipForm.h"
#include "ZLabel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHoverEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>

// Runs `act` once, on the GUI thread, as soon as `ready` holds: polled while whatever modal loop is running.
// Gives up silently after `timeoutMs`; the test then fails on what did not happen.
inline void When(QObject* owner, std::function<bool()> ready, std::function<void()> act, int timeoutMs = 20000)
{
    auto* timer = new QTimer(owner);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ready, act, elapsed, timeoutMs] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            act();
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

// The visible window of class T, or null.
template <class T>
T* Shown()
{
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* found = qobject_cast<T*>(widget); found != nullptr && found->isVisible())
            return found;
    }
    return nullptr;
}

// Answers the next file dialog with `path` (empty: cancels it), as an operator typing the name and pressing
// Open would. Should Open leave the dialog up (the name box changed under it), the name is typed again, on
// that same dialog only, until it is gone. Gives up after `timeoutMs` without a dialog.
inline void AnswerFileDialog(QObject* owner, const QString& path, int timeoutMs = 20000)
{
    auto* timer = new QTimer(owner);
    auto elapsed = std::make_shared<QElapsedTimer>();
    auto answering = std::make_shared<QPointer<QFileDialog>>();
    auto answered = std::make_shared<bool>(false);
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QFileDialog* dialog = *answered ? answering->data() : Shown<QFileDialog>();
        if (dialog == nullptr || (*answered && !dialog->isVisible())) {
            if (*answered || elapsed->elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        *answered = true;
        *answering = dialog;
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name box: selectFile leaves the box alone while it has the focus, and the window
        // takes the focus whenever the platform activates it.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        else
            dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");  // as the dialog's own button does
    });
    timer->start(5);
}

// The field whose point (2, -10) the visible tooltip was shown at (the tip window sits just below and right
// of it), by object name; a description of what was found otherwise.
inline QString TipFieldAmong(std::initializer_list<QWidget*> fields)
{
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible())
            tip = w;
    }
    if (tip == nullptr)
        return QStringLiteral("<no tip window>");
    for (QWidget* field : fields) {
        const QPoint offset = tip->pos() - field->mapToGlobal(QPoint(2, -10));
        if (offset.x() >= 0 && offset.x() <= 4 && offset.y() >= 0 && offset.y() <= 24)
            return field->objectName();
    }
    return QStringLiteral("<tip at %1,%2>").arg(tip->x()).arg(tip->y());
}

// Records every message box that appears, with what `alsoNote` says at that moment, and closes it at once
// (a box would otherwise fade out over two or three seconds).
class TipCatcher : public QObject
{
public:
    explicit TipCatcher(std::function<QString()> alsoNote = {}) : m_Note(std::move(alsoNote))
    {
        connect(&m_Timer, &QTimer::timeout, this, [this] {
            TipForm* tip = Shown<TipForm>();
            if (tip == nullptr || tip == m_Last)
                return;
            m_Last = tip;
            auto* label = tip->findChild<ZLabel*>(QStringLiteral("Label1"));
            QString seen = label != nullptr ? label->Text() : QStringLiteral("<no label>");
            if (m_Note)
                seen += QStringLiteral(" / ") + m_Note();
            Seen << seen;
            tip->exit(1);
        });
        m_Timer.start(5);
    }

    QStringList Seen;

private:
    std::function<QString()> m_Note;
    QTimer m_Timer;
    QPointer<TipForm> m_Last;
};

// The mouse moving over a point of a widget, as the hover-tracking widgets (menus, grids, buttons) see it.
inline void HoverAt(QWidget* widget, const QPoint& pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, QPoint(-1, -1));
    QCoreApplication::sendEvent(widget, &e);
}
