// Renders one fixture window (the software settings dialog, with the record-type names below it) in every
// built-in language present and writes one PNG per language into the folder given as the first argument,
// for review: scripts/screenshots-languages runs it under Xvfb. The window uses the client's application
// font set-up, so what renders here is what the client shows.
//
// It also checks that every character of every text of each language is covered by some installed font;
// a character that no font has renders as a box. Those characters are listed and the exit code is 1.
#include "FontSetup.h"
#include "Language.h"
#include "LanguageFixture.h"
#include "LanguageTexts.h"
#include "ProgramFolder.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZLabel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRawFont>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor Theme(82, 178, 250);
const QColor Text(60, 60, 60);

void Style(FixtureWindow& fixture)
{
    ZForm* form = fixture.Form.get();
    form->SetTitleBackColor(Theme);
    form->SetForeColor(Qt::white);
    form->SetBackColor(Qt::white);
    form->SetSysButtonColor(Qt::white);
    form->SetSysButtonColorHover(Qt::white);
    form->SetTitlePadding(12);
    form->SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->SetShowMinimizeButton(false);
    form->SetShowMaximizeButton(false);
    QFont font = form->font();
    font.setPixelSize(14);
    form->SetTitleFont(font);

    // Two columns of rows below the title bar, in map order.
    const int top = 44, row = 30, columnWidth = 330;
    int index = 0;
    for (const FixtureMember& member : fixture.Members) {
        if (!member.Widget)
            continue;
        const int column = index % 2, line = index / 2;
        ++index;
        member.Widget->setGeometry(16 + column * (columnWidth + 16), top + line * row, columnWidth, 24);
        member.Widget->SetForeColor(Text);
        if (auto button = qobject_cast<ZButton*>(member.Widget)) {
            button->SetBackColor(Theme);
            button->SetForeColor(Qt::white);
            button->SetRadius(3);
            button->resize(160, 26);
        } else if (auto box = qobject_cast<ZCheckBox*>(member.Widget)) {
            box->SetCheckRectBackColor(Qt::white);
            box->SetCheckRectColor(QColor(150, 150, 150));
            box->SetCheckFlagColor(Theme);
        }
    }
}

// The characters of the loaded language that no installed font has.
QSet<uint> UncoveredCharacters(const QVector<QRawFont>& fonts, QHash<uint, bool>* known)
{
    QSet<uint> missing;
    for (const auto& group : g_LanguageTexts) {
        for (const QString& text : group) {
            for (uint c : text.toUcs4()) {
                if (c <= 0x7e)
                    continue;
                auto found = known->constFind(c);
                if (found == known->constEnd()) {
                    bool covered = false;
                    for (const QRawFont& font : fonts) {
                        if (font.supportsCharacter(c)) {
                            covered = true;
                            break;
                        }
                    }
                    found = known->insert(c, covered);
                }
                if (!*found)
                    missing.insert(c);
            }
        }
    }
    return missing;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir programFolder;  // the "OEM" file is written there, not beside this program
    SetProgramFolder(programFolder.path());
    SetupApplicationFont();
    new Language;

    QVector<QRawFont> fonts;
    QFontDatabase database;
    for (const QString& family : database.families()) {
        QFont font(family);
        font.setPixelSize(12);
        QRawFont raw = QRawFont::fromFont(font);
        if (raw.isValid())
            fonts.append(raw);
    }
    QHash<uint, bool> known;

    FixtureWindow fixture = MakeFixtureWindow("SoftwareSettingForm");
    Style(fixture);
    ZLabel* types[2];  // shared texts: the record types, on two lines
    for (int i = 0; i < 2; ++i) {
        types[i] = new ZLabel(fixture.Form.get());
        types[i]->setGeometry(16, 44 + (14 + i) * 30, 680, 24);
        types[i]->SetForeColor(Text);
    }
    fixture.Form->resize(712, 44 + 16 * 30 + 12);
    fixture.Form->move(40, 40);

    int failures = 0;
    std::vector<std::function<void()>> steps;
    steps.push_back([&] { fixture.Form->show(); });
    for (const QString& name : Language::Names()) {
        const QString file = QFileInfo(g_LanguageFiles.value(name)).completeBaseName();
        steps.push_back([&, name] {
            Language::Load(name);
            Language::ApplyLanguage(fixture.Form.get());
            fixture.Form->SetTitle(fixture.Form->Title() + "  ·  " + name);
            types[0]->SetText(TextDevice032.mid(0, 5).join(" | "));
            types[1]->SetText(TextDevice032.mid(5).join(" | "));
        });
        steps.push_back([&, file] {
            // Rendered from the widgets themselves: a grab of the X screen can still hold the previous
            // language's frame when the server or the compositor has not caught up.
            const QPixmap shot = fixture.Form->HostWindow()->grab();
            if (!shot.save(out.filePath(file + ".png"))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(file + ".png")));
                ++failures;
            }
            const QSet<uint> missing = UncoveredCharacters(fonts, &known);
            if (!missing.isEmpty()) {
                QStringList codes;
                for (uint c : missing)
                    codes << QString("U+%1").arg(c, 4, 16, QChar('0')).toUpper();
                std::fprintf(stderr, "%s: no installed font has %s\n", qPrintable(file), qPrintable(codes.join(' ')));
                ++failures;
            }
        });
    }
    steps.push_back([&] { app.exit(failures == 0 ? 0 : 1); });

    for (size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(300 * int(i + 1), &app, steps[i]);
    return app.exec();
}
