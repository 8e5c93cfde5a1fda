#include "support/platform_mouse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/sequence/base_sequence.h"
#include "export/face/button_label.h"
#include "export/face/translation.h"
#include "support/button_centre.h"
#include "support/recording_midi_factory.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

struct ExpectedButton {
    CommandKey key;
    QRect rect;
    QString label;
};

const std::vector<ExpectedButton>& ExpectedButtons() {
    static const std::vector<ExpectedButton> buttons = {
        {kExitButtonKey, QRect(480, 500, 60, 60), QString()},
        {kDataButtonKey, QRect(415, 10, 115, 32), QStringLiteral("　　データ　　")},
        {kStartButtonKey, QRect(415, 60, 115, 32), QStringLiteral("　　開　始　　")},
        {kInstrumentButtonKey, QRect(415, 110, 115, 32), QStringLiteral("　　音　色　　")},
        {kAlgorithmButtonKey, QRect(415, 160, 115, 32), QStringLiteral(" アルゴリズム　　")},
        {kHelpButtonKey, QRect(415, 260, 115, 32), QStringLiteral(" 　　ヘルプ　　")},
    };
    return buttons;
}

TEST(MainWindowFace, ShowsThePanelAndTheSixButtonsWithStartWaitingForASequence) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const ImageButtonSet& buttons = window.Buttons();
    ASSERT_EQ(buttons.Count(), 6);
    for (const ExpectedButton& expected : ExpectedButtons()) {
        const ImageButtonEntry& entry = buttons.Entry(expected.key);
        ASSERT_NE(entry.control, nullptr);
        EXPECT_EQ(entry.control->Key(), expected.key) << "keys equal table indices";
        EXPECT_EQ(entry.control->geometry(), expected.rect) << "button " << expected.key;
        EXPECT_EQ(entry.label, expected.label) << "button " << expected.key;
        EXPECT_EQ(entry.control->isEnabled(), expected.key != kStartButtonKey)
            << "button " << expected.key;
        EXPECT_EQ(entry.control->Style(), COffScreenControl::MouseStyle::kNotify);
    }
    const COffScreenControl* panel = window.Panel().Control();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 549, 569));
    EXPECT_EQ(panel->Style(), COffScreenControl::MouseStyle::kPassThrough);

    // What the window shows is what the units drew: the panel's picture and each button.
    // (Grabbed in device pixels, which are the surfaces' pixels doubled at a ratio of 2.)
    const QImage face = window.grab().toImage();
    const auto shown = [&face, &window](int x, int y) {
        const qreal ratio = window.devicePixelRatio();
        return face.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
    };
    EXPECT_EQ(shown(430, 420), window.Panel().Surface().At(430, 420));
    const ImageButtonEntry& help = buttons.Entry(kHelpButtonKey);
    EXPECT_EQ(shown(415 + 100, 260 + 30), help.surface.At(100, 30));
    EXPECT_EQ(shown(480 + 30, 500 + 30), buttons.Entry(kExitButtonKey).surface.At(30, 30));

    // Where the screenshots are wanted, keep them.
    const QString directory = qEnvironmentVariable("TAVROLA_SCREENSHOT_DIR");
    if (!directory.isEmpty()) {
        QDir().mkpath(directory);
        const QString name =
            QStringLiteral("face-offscreen-dpr%1.png").arg(window.devicePixelRatio());
        EXPECT_TRUE(window.grab().save(QDir(directory).filePath(name)));
    }
}

// The columns a label's ink spans on a button's surface; -1, -1 for none.
std::pair<int, int> InkColumns(const PixelSurface& surface) {
    std::pair<int, int> columns{-1, -1};
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            const QRgb pixel = surface.At(x, y) | 0xff000000U;
            if (pixel == kEnabledLabelColour.rgb() || pixel == kDisabledLabelColour.rgb()) {
                columns.first = columns.first < 0 ? x : std::min(columns.first, x);
                columns.second = std::max(columns.second, x);
            }
        }
    }
    return columns;
}

// The designed labels centre themselves with their spaces; the English words are centred on the
// bar by the painter. Screen readers and tooltips use the same words, Start's following its face.
TEST(MainWindowFace, InEnglishEachBarSaysItsWordCentredAndIsNamedByIt) {
    const std::unique_ptr<QTranslator> english = InstallTranslation(UiLanguage::kEnglish);
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    struct Case {
        CommandKey key;
        const char* word;
        const char* tip;
    };
    const Case cases[] = {
        {kExitButtonKey, "", "Quit (Ctrl+Q)"},
        {kDataButtonKey, "Data", "Data (Ctrl+O)"},
        {kStartButtonKey, "Start", "Start/Stop (Space)"},
        {kInstrumentButtonKey, "Instrument", "Instrument (Ctrl+I)"},
        {kAlgorithmButtonKey, "Algorithm", "Algorithm (Ctrl+L)"},
        {kHelpButtonKey, "Help", "Help (F1)"},
        {kStartButtonKey, "Stop", "Start/Stop (Space)"},
    };
    for (const Case& c : cases) {
        if (std::string_view(c.word) == "Stop") {
            window.Performance().InstallSequence(ParseSequenceText("gattaca"));
            window.Performance().TogglePlayback();
        }
        const ImageButtonEntry& entry = window.Buttons().Entry(c.key);
        EXPECT_EQ(entry.label, QString::fromUtf8(c.word));
        EXPECT_EQ(entry.control->accessibleName(), *c.word != '\0' ? c.word : "Quit");
        EXPECT_EQ(entry.control->toolTip(), QString::fromUtf8(c.tip));
        if (*c.word != '\0') {
            const auto [left, right] = InkColumns(entry.surface);
            ASSERT_GE(left, 2) << c.word;
            EXPECT_LE(std::abs(left - (entry.surface.width - 1 - right)), 2)
                << c.word << " spans " << left << " to " << right;
        }
    }
}

TEST(MainWindowFace, PressingAButtonShowsItSunkAndTheStartButtonIgnoresTheMouse) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    std::vector<int> released;
    window.Buttons().SetReleaseHook([&released](int key) { released.push_back(key); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    testing::PlatformMouse mouse(window);

    const QPoint on_data = testing::ButtonCentre<QPoint>(kDataButtonKey);
    mouse.Press(on_data);
    const ImageButtonEntry& data = window.Buttons().Entry(kDataButtonKey);
    EXPECT_TRUE(data.pressed);
    EXPECT_EQ(data.control->Shown().pixel(20, 30), data.pressed_image.picture.At(20, 30));
    mouse.Release(on_data);
    mouse.Click(testing::ButtonCentre<QPoint>(kStartButtonKey));  // still disabled
    mouse.Click(testing::ButtonCentre<QPoint>(kExitButtonKey));
    EXPECT_EQ(released, (std::vector<int>{kDataButtonKey, kExitButtonKey}));
}

}  // namespace
}  // namespace tavrola
