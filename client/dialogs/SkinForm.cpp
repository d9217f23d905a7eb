#include "SkinForm.h"

#include "ui_SkinForm.h"

#include "DialogFrame.h"
#include "LanguageTexts.h"
#include "ZButton.h"

#include <algorithm>

namespace {

// The preset colours, 0xRRGGBB, row by row, ten to a row.
constexpr int kPresetRows = 7;
constexpr int kPresetColumns = 10;
constexpr unsigned kPresets[kPresetRows * kPresetColumns] = {
    0xE991CB, 0xCC7EB0, 0xBD64A4, 0xAB4C90, 0x915B8C, 0x7B4171, 0x9E8B8D, 0x71686D, 0x634A50, 0x4F455D,
    0xF57599, 0xEE827C, 0xEC6D71, 0xCD5C5C, 0xFA8072, 0xE7609E, 0xC85179, 0xC85554, 0xA25768, 0xBB5548,
    0x83CCD2, 0x84B9CB, 0x80ABA9, 0x00A497, 0x38B48B, 0x00A381, 0x698AAB, 0x5C9291, 0x008899, 0x006E54,
    0x59B9C7, 0x2CA9E1, 0x2892C4, 0x5383C3, 0x517EA5, 0x2A83A3, 0x007CBC, 0x4C6DB4, 0x284A78, 0x192F60,
    0xB1CB70, 0xABCF52, 0x97AB4E, 0xA1A56C, 0x8D8962, 0x938D36, 0x68831C, 0x716D40, 0x716D41, 0x6A5D21,
    0xEBB471, 0xE8B647, 0xD0AF4C, 0xD9A62E, 0xB68E55, 0xCB8347, 0xC37854, 0xB77B57, 0x7B6C3E, 0x6B6F59,
    0xA99E93, 0xA58F86, 0x887F7A, 0xB4866B, 0xB28C6E, 0x9F6F55, 0x8C6450, 0x6F514C, 0x554738, 0x55402F};

// Where the preset grid sits: 70 x 35 buttons, 7 pixels apart.
constexpr int kPresetLeft = 70;
constexpr int kPresetTop = 200;
constexpr int kPresetWidth = 70;
constexpr int kPresetHeight = 35;
constexpr int kPresetGap = 7;

QColor FullSaturation(int hue)
{
    return QColor::fromHsl(hue, 255, 128, 255);
}

}  // namespace

SkinForm::SkinForm(QWidget* parent) : ZTabPage(parent, false), ui(new Ui::SkinForm)
{
    Q_INIT_RESOURCE(SkinForm);
    ui->setupUi(this);
    setVisible(false);

    for (int r = 0; r < kPresetRows; ++r) {
        for (int c = 0; c < kPresetColumns; ++c) {
            const unsigned preset = kPresets[r * kPresetColumns + c];
            auto* button = new ZButton(this);
            button->SetCanHover(false);
            button->LayoutSetGeometry(QRect(kPresetLeft + (kPresetWidth + kPresetGap) * c,
                                            kPresetTop + (kPresetHeight + kPresetGap) * r, kPresetWidth,
                                            kPresetHeight));
            // The press colour is the colour itself: a press shows no change.
            button->SetBackColor(QColor(preset));
            button->SetBackColorPress(QColor(preset));
            button->SetUserFlag(true);  // the skin walk leaves the presets alone
            button->Tag = static_cast<qintptr>(preset);
            connect(button, &ZButton::Clicked, this, &SkinForm::ColorButtonClicked);
        }
    }
    FollowLanguageAndSkin(this);
}

SkinForm::~SkinForm()
{
    delete ui;
}

void SkinForm::UpdateRgbEdits(const QColor& color)
{
    const int components[3] = {color.red(), color.green(), color.blue()};
    ZLineEdit* fields[3] = {ui->ColorRLineEdit, ui->ColorGLineEdit, ui->ColorBLineEdit};
    for (int i = 0; i < 3; ++i) {
        fields[i]->SetTextWithoutEvent(QString::number(components[i]));
        fields[i]->Tag = components[i];
    }
}

void SkinForm::UpdateHslBars(const QColor& color)
{
    ui->TrackBar1->SetValue1WithoutEvent(color.hslHue());  // -1 for a grey: the slider clamps it to 0
    ui->TrackBar2->SetValue1WithoutEvent(color.hslSaturation());
    ui->TrackBar3->SetValue1WithoutEvent(color.lightness());
    ui->TrackBar2->SetMainLineBackColor(FullSaturation(ui->TrackBar1->Value1()));
}

void SkinForm::SetPreview(const QColor& color)
{
    ui->ColorPanel->SetBackColor(color);
}

void SkinForm::SlidersChanged()
{
    const QColor color =
        QColor::fromHsl(ui->TrackBar1->Value1(), ui->TrackBar2->Value1(), ui->TrackBar3->Value1(), 255);
    UpdateRgbEdits(color);
    SetPreview(color);
}

void SkinForm::on_TrackBar1_Value1Changed(int Value)
{
    ui->TrackBar2->SetMainLineBackColor(FullSaturation(Value));
    SlidersChanged();
}

void SkinForm::on_TrackBar2_Value1Changed(int)
{
    SlidersChanged();
}

void SkinForm::on_TrackBar3_Value1Changed(int)
{
    SlidersChanged();
}

void SkinForm::FieldChanged(ZLineEdit* field)
{
    // Three digits can be typed, but a component ends at 255: an unclamped 256..999 would make an invalid colour
    // that reads as black, and Apply would save black.
    bool ok = false;
    const int typed = field->Text().toInt(&ok, 10);
    const int value = ok ? std::clamp(typed, 0, 255) : 0;
    if (value != typed && ok)
        field->SetTextWithoutEvent(QString::number(value));
    field->Tag = value;

    QColor color;
    color.setRgb(static_cast<int>(ui->ColorRLineEdit->Tag), static_cast<int>(ui->ColorGLineEdit->Tag),
                 static_cast<int>(ui->ColorBLineEdit->Tag), 255);
    UpdateHslBars(color);
    SetPreview(color);
}

void SkinForm::on_ColorRLineEdit_TextChanged()
{
    FieldChanged(ui->ColorRLineEdit);
}

void SkinForm::on_ColorGLineEdit_TextChanged()
{
    FieldChanged(ui->ColorGLineEdit);
}

void SkinForm::on_ColorBLineEdit_TextChanged()
{
    FieldChanged(ui->ColorBLineEdit);
}

void SkinForm::ColorButtonClicked()
{
    auto* button = qobject_cast<ZButton*>(sender());
    if (button == nullptr)
        return;
    const QColor color(static_cast<QRgb>(button->Tag) | 0xff000000u);
    UpdateRgbEdits(color);
    UpdateHslBars(color);
    SetPreview(color);
}

void SkinForm::on_ApplyButton_Clicked()
{
    const QColor previous = g_ThemeColor;
    Skin::SetThemeColor(ui->ColorPanel->BackColor());
    if (Skin::Save())
        return;
    Skin::SetThemeColor(previous);
    ShowResultTip(false, TextTips002, this);
}

void SkinForm::SkinChangedEvent()
{
    UpdateRgbEdits(g_ThemeColor);
    UpdateHslBars(g_ThemeColor);
    SetPreview(g_ThemeColor);
    Skin::ApplySkin(this);
}

void SkinForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}
