#pragma once

// The theme colour the whole client is drawn in, and the text colour that goes on it. The colour is kept
// in the data file "SkinSetting" as {"BackColor": ARGB read as a signed 32-bit int}. All state is global
// and GUI-thread only; the one Skin object, g_Skin, exists for its signal.

#include <QColor>
#include <QObject>

class Skin : public QObject
{
    Q_OBJECT

public:
    Skin();
    ~Skin() override;

    // Makes `color` (opaque) the theme colour and derives the text colour: grey rgb(100,100,100) when the
    // luminance (0.299 R + 0.587 G + 0.114 B) / 255 is above 0.7, else white. No signal, no file.
    static void SetThemeColor(const QColor& color);

    // Writes "SkinSetting"; when the whole file reached the disk emits SkinChanged and returns true.
    static bool Save();

    // Reads "SkinSetting" and emits SkinChanged. A missing file or one that is not a JSON object gives
    // the default colour rgb(82,178,250), which is then saved.
    static void Load();

    // Re-colours the themed widgets below `parent` by class. Descends only through widget-library
    // widgets: a plain Qt widget, or a widget whose UserFlag is set, keeps its colours and so does
    // everything inside it.
    static void ApplySkin(QObject* parent);

signals:
    void SkinChanged();
};

extern Skin* g_Skin;

extern QColor g_ThemeColor;  // default rgb(82,178,250) once Skin::Load ran
extern QColor g_TextColor;   // rgb(100,100,100) on a light theme colour, else white
extern int g_ThemeRed, g_ThemeGreen, g_ThemeBlue;  // components of the two colours, for style sheets
extern int g_TextRed, g_TextGreen, g_TextBlue;
