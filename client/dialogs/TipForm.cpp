#include "TipForm.h"

#include "ui_TipForm.h"

#include <QFontMetrics>
#include <QGraphicsOpacityEffect>
#include <QPixmap>
#include <QTimer>

TipForm::TipForm(bool success, const QString& text, QWidget* parent) : ZForm(parent), ui(new Ui::TipForm)
{
    Q_INIT_RESOURCE(TipForm);
    ui->setupUi(this);

    // Narrow boxes cut nothing: a text that leaves less than 15 pixels each side widens the box to
    // 20 pixels each side.
    const int textWidth = QFontMetrics(ui->Label1->font()).horizontalAdvance(text);
    if (width() < textWidth + 30) {
        resize(textWidth + 40, height());
        ui->Label1->resize(width(), ui->Label1->height());
        ui->Icon->move((width() - ui->Icon->width()) / 2, ui->Icon->y());
    }

    ui->Icon->setPixmap(QPixmap(success ? QStringLiteral("://TipForm/Correct.png")
                                        : QStringLiteral("://TipForm/Error.png")));
    ui->Label1->SetText(text);
    Life = success ? 2.0f : 3.0f;

    Timer = new QTimer;
    Opacity = new QGraphicsOpacityEffect(this);
    connect(Timer, &QTimer::timeout, this, &TipForm::Tick);
    Timer->start(100);
}

TipForm::~TipForm()
{
    delete Timer;
    delete ui;
}

void TipForm::Tick()
{
    if (Life <= 0) {
        // The effect belongs to the box: taking it off deletes it. The timer goes with the box.
        Timer->stop();
        setGraphicsEffect(nullptr);
        Opacity = nullptr;
        exit(1);
        return;
    }
    Life = Life - 0.1f;
    Opacity->setOpacity(Life);
    setGraphicsEffect(Opacity);
}
