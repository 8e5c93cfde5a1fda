#include "support/platform_mouse.h"

#include "ui/widgets/offscreen_control.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QMouseEvent>
#include <vector>

namespace tavrola {
namespace {

using testing::PlatformMouse;

struct Call {
    char kind;  // 'p' press, 'r' release, 'm' move
    int x;
    int y;
    int key;
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& call) {
    return out << call.kind << "(" << call.x << ", " << call.y << ", " << call.key << ")";
}

// Counts what reaches the window itself: presses that passed through a control, context menus,
// and the control's paints.
class EventCounter : public QObject {
  public:
    int presses = 0;
    int context_menus = 0;
    int paints = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                ++presses;
                break;
            case QEvent::ContextMenu:
                ++context_menus;
                break;
            case QEvent::Paint:
                ++paints;
                break;
            default:
                break;
        }
        return false;
    }
};

// A window with one notifying control at (50, 50)-(150, 90), key 7, that records its callbacks.
class OffScreenControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(300, 200);
        window_.installEventFilter(&window_events_);
        control_.SetKey(7);
        SetUpOffScreen(control_, kRect, Recorder('p'), Recorder('r'), surface_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    OffScreenCallback Recorder(char kind) {
        return [this, kind](int x, int y, int key) { calls_.push_back({kind, x, y, key}); };
    }

    static constexpr ClientRect kRect{50, 50, 150, 90};
    static constexpr QPoint kInside{60, 55};    // (10, 5) in the control
    static constexpr QPoint kInside2{140, 85};  // (90, 35)
    static constexpr QPoint kOutside{200, 150};

    QWidget window_;
    EventCounter window_events_;
    COffScreenControl control_{&window_, COffScreenControl::MouseStyle::kNotify};
    PixelSurface surface_;
    std::vector<Call> calls_;
};

TEST_F(OffScreenControlTest, SetUpPlacesRaisesAndGivesABlackSurfaceOfTheControlsSize) {
    COffScreenControl later(&window_);
    later.SetKey(3);
    PixelSurface slot;
    SetUpOffScreen(later, ClientRect{10, 20, 110, 60}, nullptr, nullptr, slot);
    EXPECT_EQ(later.geometry(), QRect(10, 20, 100, 40));
    EXPECT_EQ(window_.children().last(), &later) << "a control set up later lies on top";
    EXPECT_EQ(later.Key(), 3) << "the set-up leaves the key alone";
    ASSERT_EQ(slot.width, 100);
    ASSERT_EQ(slot.height, 40);
    for (const auto pixel : slot.pixels) {
        ASSERT_EQ(pixel, PixelSurface::kBlack);
    }
}

TEST_F(OffScreenControlTest, PressAndReleaseOverTheControlReportTheirPositionsAndKey) {
    PlatformMouse mouse(window_);
    mouse.Press(kInside);
    EXPECT_TRUE(control_.Pressed());
    mouse.MoveTo(kInside2);
    mouse.Release(kInside2);
    EXPECT_FALSE(control_.Pressed());
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 10, 5, 7}, {'r', 90, 35, 7}}));
}

TEST_F(OffScreenControlTest, DraggingOffReleasesOnceAtTheLeaveAndTheLaterReleaseIsNotSeen) {
    PlatformMouse mouse(window_);
    mouse.Press(kInside);
    mouse.MoveTo(kOutside);
    EXPECT_FALSE(control_.Pressed()) << "leaving ends the press";
    mouse.MoveTo(kOutside + QPoint(20, 10));
    mouse.Release(kOutside + QPoint(20, 10));
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 10, 5, 7}, {'r', -1, -1, 7}}));
}

TEST_F(OffScreenControlTest, DraggingOffComingBackAndReleasingReleasesTwice) {
    PlatformMouse mouse(window_);
    mouse.Press(kInside);
    mouse.MoveTo(kOutside);
    mouse.MoveTo(kInside2);
    mouse.MoveTo(kOutside);  // the leave notice was used up: no third release
    mouse.MoveTo(kInside2);
    mouse.Release(kInside2);
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 10, 5, 7}, {'r', -1, -1, 7}, {'r', 90, 35, 7}}));
}

TEST_F(OffScreenControlTest, WithoutAPressCallbackAPressArmsNoLeave) {
    SetUpOffScreen(control_, kRect, nullptr, Recorder('r'), surface_);
    PlatformMouse mouse(window_);
    mouse.Press(kInside);
    EXPECT_TRUE(control_.Pressed()) << "a press sets pressed with or without a press callback";
    mouse.MoveTo(kOutside);
    EXPECT_TRUE(calls_.empty()) << "no leave was asked for";
    EXPECT_TRUE(control_.Pressed());
    mouse.Release(kOutside);
    EXPECT_TRUE(calls_.empty()) << "a release outside is not the control's";
    EXPECT_TRUE(control_.Pressed());

    mouse.Press(kInside);
    mouse.MoveTo(kOutside);
    mouse.MoveTo(kInside2);
    mouse.Release(kInside2);
    EXPECT_EQ(calls_, (std::vector<Call>{{'r', 90, 35, 7}}));
    EXPECT_FALSE(control_.Pressed());
}

TEST_F(OffScreenControlTest, AControlWhoseKeyWasNeverSetPassesMinusOne) {
    COffScreenControl fresh(&window_, COffScreenControl::MouseStyle::kNotify);
    PixelSurface slot;
    SetUpOffScreen(fresh, ClientRect{200, 20, 260, 60}, Recorder('p'), Recorder('r'), slot);
    fresh.show();
    PlatformMouse mouse(window_);
    mouse.Press(QPoint(205, 25));
    mouse.MoveTo(QPoint(280, 100));
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 5, 5, -1}, {'r', -1, -1, -1}}));
}

TEST_F(OffScreenControlTest, OnlyTheLeftButtonPressesAndARightClickReachesTheWindow) {
    PlatformMouse mouse(window_);
    mouse.Click(kInside, Qt::RightButton);
    mouse.Click(kInside, Qt::MiddleButton);
    EXPECT_TRUE(calls_.empty());
    EXPECT_FALSE(control_.Pressed());
    EXPECT_EQ(window_events_.presses, 2) << "other buttons pass to the window beneath";
    EXPECT_EQ(window_events_.context_menus, 1) << "the window's context menu gets the right click";

    // A right button going up during a left press ends nothing.
    mouse.Press(kInside);
    mouse.Click(kInside2, Qt::RightButton);
    EXPECT_TRUE(control_.Pressed());
    mouse.Release(kInside2);
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 10, 5, 7}, {'r', 90, 35, 7}}));
}

TEST_F(OffScreenControlTest, AReleaseOverTheControlAfterAPressElsewhereDoesNothing) {
    PlatformMouse mouse(window_);
    mouse.Press(QPoint(20, 20));
    mouse.MoveTo(kInside);
    mouse.Release(kInside);
    EXPECT_TRUE(calls_.empty());
}

TEST_F(OffScreenControlTest, APassThroughControlLetsTheMouseReachWhatLiesBeneath) {
    // A layer set up after the button lies above it, over its right half and beyond.
    COffScreenControl layer(&window_);
    PixelSurface layer_surface;
    SetUpOffScreen(layer, ClientRect{100, 40, 250, 120}, Recorder('P'), Recorder('R'),
                   layer_surface);
    layer.show();
    PlatformMouse mouse(window_);
    mouse.Click(kInside2);
    EXPECT_EQ(calls_, (std::vector<Call>{{'p', 90, 35, 7}, {'r', 90, 35, 7}}))
        << "the button beneath the layer takes the click";
    const int before = window_events_.presses;
    mouse.Click(QPoint(220, 110));
    EXPECT_EQ(window_events_.presses, before + 1) << "where no button lies, the window does";
    EXPECT_EQ(calls_.size(), 2U);
}

TEST_F(OffScreenControlTest, TheMoveCallbackReportsMovesOverTheControlUntilTheNextSetUp) {
    control_.SetMoveCallback(Recorder('m'));
    PlatformMouse mouse(window_);
    mouse.MoveTo(kInside);
    mouse.MoveTo(kInside2);
    mouse.MoveTo(kOutside);
    EXPECT_EQ(calls_, (std::vector<Call>{{'m', 10, 5, 7}, {'m', 90, 35, 7}}));
    SetUpOffScreen(control_, kRect, Recorder('p'), Recorder('r'), surface_);
    calls_.clear();
    mouse.MoveTo(kInside);
    EXPECT_TRUE(calls_.empty()) << "the set-up clears the move callback";
}

TEST_F(OffScreenControlTest, PresentShowsTheSurfaceAsItWasAtOnceWithOneRepaint) {
    EventCounter control_events;
    control_.installEventFilter(&control_events);
    surface_.Fill(PackRgb(10, 20, 30));
    surface_.At(3, 4) = PackRgb(200, 100, 50);
    const int window_paints = window_events_.paints;
    PresentOffScreen(surface_, control_);
    EXPECT_EQ(control_events.paints, 1) << "the control repaints before present returns";
    EXPECT_EQ(window_events_.paints, window_paints) << "nothing beneath the picture is painted";

    surface_.Fill(PackRgb(255, 255, 255));  // drawn but not presented
    const QImage shown = control_.grab().toImage();
    EXPECT_EQ(shown.pixel(3, 4), qRgb(200, 100, 50));
    EXPECT_EQ(shown.pixel(50, 20), qRgb(10, 20, 30)) << "what shows is the last present";

    PresentOffScreen(PixelSurface(), control_);
    EXPECT_EQ(control_.grab().toImage().pixel(50, 20), qRgb(10, 20, 30))
        << "presenting an empty surface copies nothing";
}

}  // namespace
}  // namespace tavrola
