#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRawFont>
#include <QTextLayout>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include "export/face/translation.h"
#include "support/temp_folder.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/instrument_dialog.h"
#include "ui/dialogs/record_dialog.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {
namespace {

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
    const char* title;
    bool close_box;
    const char* english_title = nullptr;  // where it is not the design's
    UiLanguage language = UiLanguage::kJapanese;
};

std::string CaseName(const DialogCase& c) {
    return std::string(c.name) + (c.language == UiLanguage::kEnglish ? "English" : "");
}

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << CaseName(c);
}

class DialogLayoutTest : public ::testing::TestWithParam<DialogCase> {
  protected:
    void SetUp() override { translation_ = InstallTranslation(GetParam().language); }

  private:
    std::unique_ptr<QTranslator> translation_;
};

// Records as a multi-FASTA file lists them, one with a description longer than its column.
const RecordSummary kRecords[] = {
    {"X01238.1/1-183", "", 203},
    {"NC_045512.2", "Severe acute respiratory syndrome coronavirus 2 isolate Wuhan-Hu-1", 29903},
};

const DialogCase kDialogs[] = {
    // With the line under the box that a record's skipped letters show, at the longest count a
    // load without the Target Area dialog gives.
    {"Data",
     [] {
         static const testing::TempFolder folder;
         auto dialog = std::make_unique<CDataDlg>();
         dialog->LoadFileIntoBox(
             folder.Write("gapped.fasta", ">gapped\nACGT" + std::string(8188, 'N') + "\n"));
         return dialog;
     },
     "Data", true},
    {"Record",
     [] {
         auto dialog = std::make_unique<CRecordDlg>();
         dialog->records = kRecords;
         dialog->more_records = 123456;
         return dialog;
     },
     "Record", true},
    {"TargetArea",
     [] {
         auto dialog = std::make_unique<CTargetAreaDlg>();
         dialog->size = 8193;
         return dialog;
     },
     "Target Area", false},
    {"Setting", [] { return std::make_unique<CSettingDlg>(); }, "Setting", false},
    {"Assign", [] { return std::make_unique<CAssignDlg>(); }, "Assign", true},
    {"About", [] { return std::make_unique<CAboutDlg>(); }, "バージョン情報 TavrolaApp", true,
     "About TavrolaApp"},
};

// Every dialog, then each again in English: its texts must fit in both.
std::vector<DialogCase> InBothLanguages() {
    std::vector<DialogCase> cases(std::begin(kDialogs), std::end(kDialogs));
    for (DialogCase english : kDialogs) {
        english.language = UiLanguage::kEnglish;
        english.title = english.english_title != nullptr ? english.english_title : english.title;
        cases.push_back(english);
    }
    return cases;
}

// Whether a text's glyphs all come from a font that really has them, not from boxes.
bool RendersWithRealGlyphs(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 glyph : run.glyphIndexes()) {
            if (glyph == 0) {
                return false;
            }
        }
    }
    return true;
}

TEST_P(DialogLayoutTest, TitleAndCloseBoxFollowTheTemplate) {
    const auto dialog = GetParam().make();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(GetParam().title));
    EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint), GetParam().close_box);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "template dialogs do not resize";
}

TEST_P(DialogLayoutTest, EveryTextFitsItsControlAndUsesARealFont) {
    const auto dialog = GetParam().make();
    dialog->show();
    const QRect client = dialog->rect();
    for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(client.contains(control->geometry()))
            << control->metaObject()->className() << " leaves the dialog";
        QString text;
        int needs = 0;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
            needs = label->minimumSizeHint().width();
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            text = check->text();
            needs = check->sizeHint().width();
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            text = button->text();
            needs = QFontMetrics(button->font()).horizontalAdvance(text) + 4;
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            for (int i = 0; i < list->count(); ++i) {
                EXPECT_TRUE(RendersWithRealGlyphs(list->itemText(i), list->font()))
                    << list->itemText(i).toStdString();
            }
            text = list->itemText(0);
            needs = list->sizeHint().width();
        } else {
            continue;
        }
        EXPECT_LE(needs, control->width()) << '"' << text.toStdString() << "\" is clipped";
        EXPECT_TRUE(RendersWithRealGlyphs(text, control->font()))
            << '"' << text.toStdString() << "\" has glyphs no font holds";
    }
}

// Pictures to look at: one PNG per dialog, in TAVROLA_SCREENSHOT_DIR or else in screenshots/
// next to the test program.
TEST_P(DialogLayoutTest, ScreenshotIsWritten) {
    const auto dialog = GetParam().make();
    dialog->show();
    QApplication::processEvents();
    const QImage picture = dialog->grab().toImage();
    ASSERT_FALSE(picture.isNull());
    const QString folder = qEnvironmentVariableIsSet("TAVROLA_SCREENSHOT_DIR")
                               ? qEnvironmentVariable("TAVROLA_SCREENSHOT_DIR")
                               : QCoreApplication::applicationDirPath() + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    const QString file =
        QDir(folder).filePath(QStringLiteral("dialog-%1.png").arg(CaseName(GetParam()).c_str()));
    EXPECT_TRUE(picture.save(file)) << file.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayoutTest, ::testing::ValuesIn(InBothLanguages()),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             return CaseName(info.param);
                         });

}  // namespace
}  // namespace tavrola
