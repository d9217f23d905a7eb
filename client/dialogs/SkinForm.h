#pragma once

#include "ZTabPage.h"

#include <QColor>

class ZLineEdit;

namespace Ui {
class SkinForm;
}

// The main window's page for choosing the theme colour: hue, saturation and lightness sliders, red, green and
// blue number fields and 70 preset buttons, all kept in step, and a preview square whose colour Apply makes the
// theme colour of every window. The page holds no colour of its own: the controls and the preview do; the next
// SkinChanged resets them to the theme colour. No tab-bar button: the main window's skin button selects it.
//
// One operator action runs exactly one change handler: the handlers update the other controls through the
// setters that emit nothing.
class SkinForm : public ZTabPage
{
    Q_OBJECT

public:
    explicit SkinForm(QWidget* parent);
    ~SkinForm() override;

    // Number fields to the colour's red, green and blue (text and Tag), without change signals.
    void UpdateRgbEdits(const QColor& color);
    // Sliders to the colour's hue, saturation and lightness without change signals, and the saturation line to
    // the full-saturation colour of the hue slider's value.
    void UpdateHslBars(const QColor& color);

private slots:
    void LanguageChangedEvent();
    void SkinChangedEvent();
    void ColorButtonClicked();
    void on_TrackBar1_Value1Changed(int Value);
    void on_TrackBar2_Value1Changed(int Value);
    void on_TrackBar3_Value1Changed(int Value);
    void on_ColorRLineEdit_TextChanged();
    void on_ColorGLineEdit_TextChanged();
    void on_ColorBLineEdit_TextChanged();
    // Makes the preview the theme colour and saves it. When the save fails the old colour is restored, so that
    // memory matches the file, and a failure box is shown.
    void on_ApplyButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);

    void SlidersChanged();
    // A field's text as its component: empty or unreadable 0, above 255 clamped to 255 (the field then shows
    // 255), then the colour of the three fields to the sliders and the preview.
    void FieldChanged(ZLineEdit* field);
    void SetPreview(const QColor& color);

    Ui::SkinForm* ui;
};
