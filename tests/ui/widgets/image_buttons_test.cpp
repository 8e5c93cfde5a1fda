#include "support/platform_mouse.h"

#include "ui/widgets/image_buttons.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QColor>
#include <QDialog>
#include <functional>
#include <vector>

#include "export/face/button_label.h"
#include "export/face/resource_ids.h"

namespace tavrola {
namespace {

using testing::PlatformMouse;

constexpr std::uint32_t kWhite = PackRgb(255, 255, 255);
const std::uint32_t kEnabledInk = kEnabledLabelColour.rgb();
const std::uint32_t kDisabledInk = kDisabledLabelColour.rgb();

// Where each label colour occurs on a surface.
struct InkCount {
    int enabled = 0;
    int disabled = 0;
    bool outside_band = false;  // some label colour beyond (2, 2)-(210, 28)
};

InkCount CountInk(const PixelSurface& surface) {
    InkCount count;
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            const std::uint32_t pixel = surface.At(x, y);
            const bool enabled = pixel == kEnabledInk;
            const bool disabled = pixel == kDisabledInk;
            count.enabled += enabled ? 1 : 0;
            count.disabled += disabled ? 1 : 0;
            if ((enabled || disabled) && (x < 2 || x >= 210 || y < 2 || y >= 28)) {
                count.outside_band = true;
            }
        }
    }
    return count;
}

// A window with the exit button (key 0) and two text buttons (keys 1 and 2), hooks recorded.
class ImageButtonsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.resize(549, 569);
        set_ = CreateImageButtonSet(ClientRect{480, 500, 540, 560}, exit_, QString(),
                                    kExitReleasedBitmap, kExitPressedBitmap, 0);
        set_->AddImageButton(ClientRect{415, 10, 530, 42}, QStringLiteral("　　データ　　"),
                             kTextBarReleasedBitmap, kTextBarPressedBitmap, 1, data_);
        set_->AddImageButton(ClientRect{415, 60, 530, 92}, QStringLiteral("　　開　始　　"),
                             kTextBarReleasedBitmap, kTextBarPressedBitmap, 2, start_);
        set_->SetPressHook([this](int key) { pressed_keys_.push_back(key); });
        set_->SetReleaseHook([this](int key) { released_keys_.push_back(key); });
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        set_->PresentImageButtons();
    }

    const ImageButtonEntry& Data() const { return set_->Entry(1); }

    static constexpr QPoint kOnData{415 + 10, 10 + 16};  // over the bar, left of the word
    static constexpr QPoint kAway{200, 300};

    QWidget window_;
    COffScreenControl exit_{&window_, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl data_{&window_, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl start_{&window_, COffScreenControl::MouseStyle::kNotify};
    std::unique_ptr<ImageButtonSet> set_;
    std::vector<int> pressed_keys_;
    std::vector<int> released_keys_;
};

TEST_F(ImageButtonsTest, EachButtonHoldsItsImagesLabelKeyAndASurfaceOfItsSize) {
    ASSERT_EQ(set_->Count(), 3);
    const ImageButtonEntry& exit = set_->Entry(0);
    EXPECT_EQ(exit.surface.width, 60);
    EXPECT_EQ(exit.surface.height, 60);
    EXPECT_EQ(exit.released_image.Width(), 60);
    EXPECT_EQ(exit.pressed_image.Height(), 60);
    EXPECT_EQ(Data().surface.width, 115);
    EXPECT_EQ(Data().surface.height, 32);
    EXPECT_EQ(Data().released_image.depth, 24);
    EXPECT_EQ(Data().label, QStringLiteral("　　データ　　"));
    EXPECT_EQ(data_.Key(), 1);
    EXPECT_EQ(start_.geometry(), QRect(415, 60, 115, 32));
    EXPECT_FALSE(Data().pressed);
}

TEST_F(ImageButtonsTest, ARenderIsTheImageAtTheOriginWithTheLabelInkOnlyInItsBand) {
    const PixelSurface& surface = Data().surface;
    const PixelSurface& image = Data().released_image.picture;
    // Left of the word (the label's leading spaces) and below the band the image shows as it is.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 115; ++x) {
            if (x < 30 || y >= 28) {
                ASSERT_EQ(surface.At(x, y), image.At(x, y)) << "at " << x << ", " << y;
            }
        }
    }
    const InkCount ink = CountInk(surface);
    EXPECT_GT(ink.enabled, 5) << "the label is drawn in dark green";
    EXPECT_EQ(ink.disabled, 0);
    EXPECT_FALSE(ink.outside_band);
    const InkCount exit_ink = CountInk(set_->Entry(0).surface);
    EXPECT_EQ(exit_ink.enabled + exit_ink.disabled, 0) << "the exit button has no label";
}

TEST_F(ImageButtonsTest, AButtonLargerThanItsImageShowsWhiteBeyondItAndCutsItsLabelAt210) {
    COffScreenControl wide(&window_, COffScreenControl::MouseStyle::kNotify);
    set_->AddImageButton(ClientRect{10, 300, 250, 340},
                         QStringLiteral("ああああああああああああああああああああ"),
                         kTextBarReleasedBitmap, kTextBarPressedBitmap, 3, wide);
    const PixelSurface& surface = set_->Entry(3).surface;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 240; ++x) {
            const bool beyond_image = x >= 115 || y >= 32;
            const bool in_band = x >= 2 && x < 210 && y >= 2 && y < 28;
            if (beyond_image && !in_band) {
                ASSERT_EQ(surface.At(x, y), kWhite) << "at " << x << ", " << y;
            }
        }
    }
    const InkCount ink = CountInk(surface);
    EXPECT_GT(ink.enabled, 0);
    EXPECT_FALSE(ink.outside_band) << "the label never reaches past x = 210";
}

TEST_F(ImageButtonsTest, DisablingRedrawsTheLabelInWineRedAndEnablingInGreenWithoutPresenting) {
    const QImage shown_before = data_.Shown();
    set_->EnableImageButton(1, false);
    EXPECT_FALSE(data_.isEnabled());
    InkCount ink = CountInk(Data().surface);
    EXPECT_EQ(ink.enabled, 0);
    EXPECT_GT(ink.disabled, 5);
    EXPECT_EQ(data_.Shown(), shown_before) << "nothing reaches the screen until the present";
    // The image itself does not change with the state.
    EXPECT_EQ(Data().surface.At(10, 16), Data().released_image.picture.At(10, 16));

    set_->EnableImageButton(1, true);
    ink = CountInk(Data().surface);
    EXPECT_GT(ink.enabled, 5);
    EXPECT_EQ(ink.disabled, 0);
}

TEST_F(ImageButtonsTest, EnablingAnUnknownKeyDoesNothingAndARepeatedKeyChangesOnlyTheFirst) {
    const std::vector<std::uint32_t> before = Data().surface.pixels;
    set_->EnableImageButton(9, false);
    set_->EnableImageButton(-1, false);
    EXPECT_TRUE(exit_.isEnabled() && data_.isEnabled() && start_.isEnabled());
    EXPECT_EQ(Data().surface.pixels, before);

    start_.SetKey(1);  // two buttons now carry key 1
    set_->EnableImageButton(1, false);
    EXPECT_FALSE(data_.isEnabled());
    EXPECT_TRUE(start_.isEnabled());
}

TEST_F(ImageButtonsTest, TheStartLabelChangesOnlyTheButtonWithKey2AndWaitsForThePresent) {
    const QImage shown_before = start_.Shown();
    set_->SetStartButtonLabel(QStringLiteral("　　停　止　　"));
    EXPECT_EQ(set_->Entry(2).label, QStringLiteral("　　停　止　　"));
    EXPECT_EQ(Data().label, QStringLiteral("　　データ　　"));
    EXPECT_EQ(start_.Shown(), shown_before);
    set_->PresentImageButtons();
    EXPECT_NE(start_.Shown(), shown_before);
}

TEST_F(ImageButtonsTest, APressShowsThePressedImageAtOnceAndTheReleaseShowsReleasedBeforeTheHook) {
    std::uint32_t shown_when_hook_ran = 0;
    set_->SetReleaseHook([this, &shown_when_hook_ran](int key) {
        released_keys_.push_back(key);
        shown_when_hook_ran = data_.Shown().pixel(10, 16);
    });
    PlatformMouse mouse(window_);
    mouse.Press(kOnData);
    EXPECT_TRUE(Data().pressed);
    EXPECT_EQ(data_.Shown().pixel(10, 16), Data().pressed_image.picture.At(10, 16));
    EXPECT_EQ(pressed_keys_, std::vector<int>{1});
    ASSERT_NE(Data().pressed_image.picture.At(10, 16), Data().released_image.picture.At(10, 16));

    mouse.Release(kOnData);
    EXPECT_FALSE(Data().pressed);
    EXPECT_EQ(released_keys_, std::vector<int>{1});
    EXPECT_EQ(shown_when_hook_ran, Data().released_image.picture.At(10, 16));
}

TEST_F(ImageButtonsTest, DraggingOffRunsTheReleaseOnceAndReturningAndReleasingRunsItAgain) {
    PlatformMouse mouse(window_);
    mouse.Press(kOnData);
    mouse.MoveTo(kAway);
    EXPECT_EQ(released_keys_, std::vector<int>{1}) << "the command runs as the mouse leaves";
    EXPECT_FALSE(Data().pressed);
    mouse.Release(kAway);
    EXPECT_EQ(released_keys_, std::vector<int>{1}) << "releasing elsewhere does nothing more";

    mouse.Press(kOnData);
    mouse.MoveTo(kAway);
    mouse.MoveTo(kOnData);
    mouse.Release(kOnData);
    EXPECT_EQ(released_keys_, (std::vector<int>{1, 1, 1}));
}

// A command runs only when a click on the enabled button would run it: a press under way when
// the button is disabled or its window blocked by a modal window ends quietly, shown released,
// and nothing later (release, leave, drag-off, deactivation, shortcut, screen reader) runs it.
TEST_F(ImageButtonsTest, NoPathRunsTheCommandOfADisabledOrBlockedButton) {
    QDialog modal;
    modal.setModal(true);
    QWidget other;
    PlatformMouse mouse(window_);
    using Step = std::function<void()>;
    const Step hold = [&] { mouse.Press(kOnData); };
    const Step release = [&] { mouse.Release(kOnData); };
    const Step drag_off = [&] { mouse.MoveTo(kAway); };
    const Step come_back = [&] { mouse.MoveTo(kOnData); };
    const Step let_go_away = [&] { mouse.Release(kAway); };
    const Step disable = [this] { set_->EnableImageButton(1, false); };
    const Step enable = [this] { set_->EnableImageButton(1, true); };
    const Step block = [&] { modal.show(); };
    const Step unblock = [&] { modal.hide(); };
    const Step deactivate = [&] {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    };
    const Step shortcut = [this] { data_.Click(); };
    const Step reader_press = [this] {
        QAccessible::queryAccessibleInterface(&data_)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    };
    const Step right_click = [&] { mouse.Click(kOnData, Qt::RightButton); };
    const struct {
        const char* path;
        std::vector<Step> steps;
        std::vector<int> runs;
    } cases[] = {
        // clang-format off
        {"disabled: held, off, back, released", {disable, hold, drag_off, come_back, release}, {}},
        {"disabled while held, released over it, left", {hold, disable, release, drag_off}, {}},
        {"disabled while held, dragged off", {hold, disable, drag_off, let_go_away}, {}},
        {"disabled while held, enabled, released over it", {hold, disable, enable, release}, {}},
        {"disabled while held, deactivated", {hold, disable, deactivate, let_go_away}, {}},
        {"blocked while held, unblocked, released over it", {hold, block, unblock, release}, {}},
        {"blocked: shortcut", {block, shortcut}, {}},
        {"screen reader, blocked before its queued press runs", {reader_press, block}, {}},
        {"right click", {right_click}, {}},
        {"enabled, held, deactivated", {hold, deactivate, let_go_away}, {1}},
        // clang-format on
    };
    for (const auto& c : cases) {
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_)) << c.path;
        released_keys_.clear();
        for (const Step& step : c.steps) {
            step();
        }
        QCoreApplication::processEvents();  // a screen reader's press is queued
        EXPECT_EQ(released_keys_, c.runs) << c.path;
        EXPECT_FALSE(Data().pressed + data_.Pressed()) << c.path;
        EXPECT_EQ(data_.Shown().pixel(10, 16), Data().released_image.picture.At(10, 16)) << c.path;
        unblock();
        enable();
        other.hide();
    }
}

TEST_F(ImageButtonsTest, KeysThatAreNoButtonsIndexChangeNothing) {
    const std::vector<std::uint32_t> before = Data().surface.pixels;
    for (const int key : {-1, 3, 8, 1000}) {
        set_->OnImageButtonPress(5, 5, key);
        set_->OnImageButtonRelease(-1, -1, key);
    }
    EXPECT_TRUE(pressed_keys_.empty());
    EXPECT_TRUE(released_keys_.empty());
    EXPECT_EQ(Data().surface.pixels, before);
}

TEST_F(ImageButtonsTest, TheTableHoldsEightButtonsAndRefusesANinth) {
    std::vector<std::unique_ptr<COffScreenControl>> extra;
    for (int key = 3; key <= 8; ++key) {
        extra.push_back(std::make_unique<COffScreenControl>(&window_));
        set_->AddImageButton(ClientRect{0, 0, 10, 10}, QString(), kTextBarReleasedBitmap,
                             kTextBarPressedBitmap, key, *extra.back());
    }
    EXPECT_EQ(set_->Count(), ImageButtonSet::kCapacity);
    EXPECT_EQ(extra.back()->Key(), -1) << "the ninth control is left as it was";
}

TEST_F(ImageButtonsTest, AfterTheSetIsGoneItsControlsReportToNobody) {
    set_->DestroyImageButtons();
    EXPECT_EQ(Data().surface.width, 0);
    set_->PresentImageButtons();  // nothing left to show; the controls keep their pictures
    EXPECT_FALSE(data_.Shown().isNull());
    set_.reset();
    PlatformMouse mouse(window_);
    mouse.Click(kOnData);
    EXPECT_TRUE(released_keys_.empty());
}

}  // namespace
}  // namespace tavrola
