#include "support/platform_mouse.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <vector>

#include "core/playback/performer.h"
#include "export/face/button_label.h"
#include "support/button_centre.h"
#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "support/recording_midi_factory.h"
#include "support/recording_midi_output.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_labels.h"

namespace tavrola {
namespace {

using Event = RecordingMidiOutput::Event;
using Kind = RecordingMidiOutput::EventKind;

constexpr QPoint kStartButton = testing::ButtonCentre<QPoint>(kStartButtonKey);
constexpr QPoint kExitButton = testing::ButtonCentre<QPoint>(kExitButtonKey);

bool SurfaceHolds(const PixelSurface& surface, QRgb colour) {
    for (std::uint32_t pixel : surface.pixels) {
        if ((pixel & 0xffffffU) == (colour & 0xffffffU)) {
            return true;
        }
    }
    return false;
}

// The window as the Data dialog leaves it after OK on `text`.
void LoadSequence(CTavrolaAppDlg& window, const char* text) {
    window.Performance().InstallSequence(ParseSequenceText(text));
    window.Buttons().PresentImageButtons();
}

TEST(MainWindowStartUp, ComesUpCompleteAtTheTopLeftWithStartWaiting) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tavrola"));
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.size(), QSize(549, 569));
    EXPECT_FALSE(window.windowIcon().isNull());
    UnseenPlaybackView nobody;
    const Performer alone(std::make_unique<RecordingMidiOutput>(), nobody);
    EXPECT_EQ(window.Performance().Random().State(), alone.Random().State())
        << "the window's performer stands where start-up leaves any performer";
    EXPECT_TRUE(window.Performance().Layer().table == alone.Layer().table);

    const ImageButtonEntry& start = window.Buttons().Entry(kStartButtonKey);
    EXPECT_FALSE(start.control->isEnabled());
    EXPECT_TRUE(SurfaceHolds(start.surface, kDisabledLabelColour.rgb()))
        << "Start shows its label in the disabled colour";
    EXPECT_FALSE(SurfaceHolds(start.surface, kEnabledLabelColour.rgb()));

    for (int id : {1034, 1035, 1038, 1039}) {
        EXPECT_EQ(window.Label(id)->text(), QStringLiteral("-")) << "label " << id;
    }
    EXPECT_EQ(window.Label(1033)->text(), QStringLiteral("右"));
    EXPECT_EQ(window.Label(1032)->text(), QStringLiteral("左"));

    const SphereTable& table = window.Performance().Layer().table;
    ASSERT_EQ(table.count, 28);
    for (int slot = 0; slot < table.count; ++slot) {
        const Sphere& sphere = table.spheres[static_cast<std::size_t>(slot)];
        EXPECT_EQ(sphere, (Sphere{200, 280, 20, 0.0, 0.0, 0.0})) << "slot " << slot;
    }
    for (std::uint32_t pixel : window.Performance().Layer().surface.pixels) {
        ASSERT_EQ(pixel, PixelSurface::kBlack) << "the layer starts black";
    }

    const std::vector<Event> opened = {
        {Kind::kOpen}, {Kind::kShortMessage, 0x62C0}, {Kind::kShortMessage, 0x5BC1}};
    EXPECT_EQ(*midi.events, opened) << "MIDI opened, then programs 98 and 91";
}

TEST(MainWindowStartUp, LabelsSitInTheRightColumnAboveThePanelAndReadable) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const LabelTemplate& entry : kMainWindowLabels) {
        QLabel* label = window.Label(entry.id);
        const QRect at = label->geometry();
        EXPECT_GE(at.left(), 410) << "label " << entry.id << " is clear of the helix layer";
        EXPECT_GT(at.top(), 292) << "label " << entry.id << " is below the Help button";
        EXPECT_LE(at.right(), 548) << "label " << entry.id;
        EXPECT_FALSE(at.intersects(QRect(480, 500, 60, 60))) << "label " << entry.id;
        EXPECT_EQ(window.childAt(at.center()), label) << "label " << entry.id << " is on top";
        EXPECT_GE(at.width(), label->fontMetrics().horizontalAdvance(label->text()))
            << "label " << entry.id << " is not clipped";
    }
}

TEST(MainWindowPlayback, StartAndStopThroughTheButtonWithARealMouse) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi), 60000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LoadSequence(window, "gattaca");
    testing::PlatformMouse mouse(window);

    mouse.Click(kStartButton);
    EXPECT_TRUE(window.Performance().State().playing);
    EXPECT_TRUE(window.PlaybackTimer().isActive());
    EXPECT_EQ(window.Buttons().Entry(kStartButtonKey).label, QString::fromUtf8(kStopLabel));
    for (int key : {kDataButtonKey, kInstrumentButtonKey, kAlgorithmButtonKey}) {
        EXPECT_FALSE(window.Buttons().Entry(key).control->isEnabled()) << "button " << key;
    }

    mouse.Click(kStartButton);
    EXPECT_FALSE(window.Performance().State().playing);
    EXPECT_FALSE(window.PlaybackTimer().isActive());
    EXPECT_EQ(window.Buttons().Entry(kStartButtonKey).label, QString::fromUtf8(kStartLabel));
    EXPECT_TRUE(window.Buttons().Entry(kDataButtonKey).control->isEnabled());
}

TEST(MainWindowPlayback, TheTimerPlaysPairsAndShowsThemOnTheLabels) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi), 5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LoadSequence(window, "ca");
    const std::vector<std::uint32_t> before = midi.Messages();
    testing::PlatformMouse mouse(window);
    mouse.Click(kStartButton);

    QTRY_VERIFY_WITH_TIMEOUT(!window.Performance().State().playing, 10000);
    EXPECT_EQ(window.Label(1035)->text(), QStringLiteral("a")) << "the last base played";
    EXPECT_EQ(window.Label(1034)->text(), QStringLiteral("t"));
    EXPECT_EQ(window.Buttons().Entry(kStartButtonKey).label, QString::fromUtf8(kStartLabel))
        << "the end of the sequence stops and relabels";
    const std::vector<std::uint32_t> played = midi.Messages();
    EXPECT_EQ(played.size(), before.size() + 8 + 16) << "two pairs, then all notes off";
    EXPECT_NE(window.Performance().Layer().table.spheres[14].red, 0.0)
        << "the helix took the colours";
}

// Every button has a shortcut anywhere in the window that clicks it, only while it is enabled,
// and its tooltip names it; a held key's repeats click nothing more.
TEST(MainWindowKeys, EachShortcutClicksItsButtonOnlyWhileTheButtonIsEnabled) {
    struct Case {
        CommandKey key;
        QKeySequence keys;
    };
    const Case cases[] = {
        {kExitButtonKey, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {kDataButtonKey, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {kStartButtonKey, QKeySequence(Qt::Key_Space)},
        {kInstrumentButtonKey, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {kAlgorithmButtonKey, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {kHelpButtonKey, QKeySequence(Qt::Key_F1)},
    };
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi));
    std::vector<int> clicked;
    window.Buttons().SetReleaseHook([&clicked](int key) { clicked.push_back(key); });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const Case& c : cases) {
        const std::string name = c.keys.toString().toStdString();
        for (const bool enabled : {true, false}) {
            window.Buttons().EnableImageButton(c.key, enabled);
            clicked.clear();
            QTest::keySequence(&window, c.keys);
            EXPECT_EQ(clicked, enabled ? std::vector<int>{c.key} : std::vector<int>{})
                << name << (enabled ? " on the enabled button" : " on the disabled button");
        }
        EXPECT_TRUE(window.Buttons().Entry(c.key).control->toolTip().contains(
            c.keys.toString(QKeySequence::NativeText)))
            << "the tooltip names " << name;
    }

    window.Buttons().EnableImageButton(kStartButtonKey, true);
    clicked.clear();
    QTest::simulateEvent(&window, true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), false);
    for (int repeat = 0; repeat < 3; ++repeat) {
        QTest::simulateEvent(&window, true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                             true);
    }
    QTest::simulateEvent(&window, false, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), false);
    EXPECT_EQ(clicked, std::vector<int>{kStartButtonKey}) << "a held Space starts once";
}

struct CloseCase {
    const char* how;
    std::function<void(CTavrolaAppDlg&)> close;
};

TEST(MainWindowClosing, EnterEscapeCloseBoxAndExitButtonEachEndTheRunOnce) {
    const CloseCase cases[] = {
        {"Enter", [](CTavrolaAppDlg& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"keypad Enter", [](CTavrolaAppDlg& w) { QTest::keyClick(&w, Qt::Key_Enter); }},
        {"Escape", [](CTavrolaAppDlg& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close box", [](CTavrolaAppDlg& w) { w.close(); }},
        {"Ctrl+Q",
         [](CTavrolaAppDlg& w) {
             w.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
             QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
         }},
        {"exit button",
         [](CTavrolaAppDlg& w) {
             testing::PlatformMouse mouse(w);
             mouse.Click(kExitButton);
         }},
    };
    for (const CloseCase& c : cases) {
        testing::RecordingMidiFactory midi;
        {
            CTavrolaAppDlg window(std::ref(midi));
            QSignalSpy finished(&window, &QDialog::finished);
            testing::RunModally(window, [&window, &c] {
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
                c.close(window);
            });
            EXPECT_EQ(finished.count(), 1) << c.how;
            EXPECT_FALSE(window.isVisible()) << c.how;
        }
        const std::vector<Event>& events = *midi.events;
        ASSERT_GE(events.size(), 2U);
        EXPECT_EQ(events[events.size() - 2].kind, Kind::kReset) << c.how;
        EXPECT_EQ(events.back().kind, Kind::kClose) << c.how;
    }
}

TEST(MainWindowClosing, ExitDuringPlaybackResetsTheOutputBeforeClosing) {
    testing::RecordingMidiFactory midi;
    {
        CTavrolaAppDlg window(std::ref(midi), 5);
        testing::RunModally(window, [&window] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            LoadSequence(window, std::string(200, 'g').c_str());
            testing::PlatformMouse mouse(window);
            mouse.Click(kStartButton);
            QTRY_VERIFY_WITH_TIMEOUT(window.Performance().State().play_position > 1, 10000);
            mouse.Click(kExitButton);
        });
        EXPECT_TRUE(window.Performance().State().playing)
            << "the exit does not stop playback first";
    }
    const std::vector<Event>& events = *midi.events;
    ASSERT_GE(events.size(), 2U);
    EXPECT_EQ(events[events.size() - 2].kind, Kind::kReset);
    EXPECT_EQ(events.back().kind, Kind::kClose);
}

TEST(MainWindowClosing, WithoutAMidiDeviceTheWindowStillComesUp) {
    testing::RecordedMessages messages;
    CTavrolaAppDlg window([] { return std::unique_ptr<MidiOutput>(); });
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNoMidiDeviceMessage});
    EXPECT_EQ(window.Buttons().Count(), 6);
    EXPECT_EQ(window.Performance().Layer().table.count, 28);
}

TEST(MainWindowAbout, RightClickOffersTheAboutBoxWhichOpensDuringPlayback) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi), 5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LoadSequence(window, std::string(50, 't').c_str());
    testing::PlatformMouse mouse(window);
    mouse.Click(kStartButton);

    QStringList items;
    QString title;
    int position_while_open = -1;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "a right click opens the window's menu";
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("--")
                      : action->isEnabled() ? action->text()
                                            : action->text() + QStringLiteral(" [off]"));
        }
        QTimer::singleShot(0, [&] {
            CAboutDlg* about = testing::OpenModal<CAboutDlg>();
            ASSERT_NE(about, nullptr);
            title = about->windowTitle();
            const int position = window.Performance().State().play_position;
            QTRY_VERIFY_WITH_TIMEOUT(window.Performance().State().play_position > position, 10000);
            position_while_open = window.Performance().State().play_position;
            about->accept();
        });
        menu->actions().back()->trigger();
        menu->close();
    });
    mouse.Click(QPoint(470, 460), Qt::RightButton);

    EXPECT_EQ(items, (QStringList{QStringLiteral("MIDI ファイルに書き出す(&M)... [off]"),
                                  QStringLiteral("音声ファイルに書き出す(&W)... [off]"),
                                  QStringLiteral("動画ファイルに書き出す(&V)... [off]"),
                                  QStringLiteral("--"),
                                  QStringLiteral("バージョン情報 TavrolaApp(&A)...")}))
        << "no export while playing";
    EXPECT_EQ(title, QStringLiteral("バージョン情報 TavrolaApp"));
    EXPECT_GT(position_while_open, 0) << "the timer runs on while the About box is open";
    EXPECT_TRUE(window.Performance().State().playing) << "a right click runs no command";
}

}  // namespace
}  // namespace tavrola
