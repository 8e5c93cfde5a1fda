#include "support/platform_mouse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "export/face/button_label.h"
#include "export/face/translation.h"
#include "export/face/window_labels.h"
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

// The designed labels centre themselves with their spaces; the English words are centred on the
// bar by the painter, and the labels' words fit their places.
TEST(MainWindowFace, InEnglishEachBarSaysItsWordCentredAndEachLabelFits) {
    const std::unique_ptr<QTranslator> english = InstallTranslation(UiLanguage::kEnglish);
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    const char* const words[] = {"", "Data", "Start", "Instrument", "Algorithm", "Help"};
    for (int key = kDataButtonKey; key < kCommandKeyCount; ++key) {
        const char* word = words[key];
        const ImageButtonEntry& entry = window.Buttons().Entry(key);
        EXPECT_EQ(entry.label, QString::fromUtf8(word));
        int left = entry.surface.width, right = -1;  // the columns its ink spans
        for (int y = 0; y < entry.surface.height; ++y) {
            for (int x = 0; x < entry.surface.width; ++x) {
                const QRgb pixel = entry.surface.At(x, y) | 0xff000000U;
                if (pixel == kEnabledLabelColour.rgb() || pixel == kDisabledLabelColour.rgb()) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        EXPECT_LE(std::abs(left - (entry.surface.width - 1 - right)), 2)
            << word << " spans " << left << " to " << right;
    }
    for (const LabelTemplate& entry : kMainWindowLabels) {
        const QLabel* label = window.Label(entry.id);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString() << " is clipped";
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
