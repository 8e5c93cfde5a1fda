#include "ui/dialogs/record_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QShowEvent>
#include <QString>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>

#include "ui/dialogs/load_sentences.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {

namespace {

enum Column { kNameColumn, kDescriptionColumn, kLengthColumn, kColumnCount };

QTreeWidget* MakeRecordList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    SetControlId(list, CRecordDlg::kListId);
    list->setColumnCount(kColumnCount);
    list->setHeaderLabels({RecordNameHeading(), RecordDescriptionHeading(), RecordLengthHeading()});
    list->headerItem()->setTextAlignment(kLengthColumn, Qt::AlignRight | Qt::AlignVCenter);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);  // ten thousand rows lay out at once
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
    list->setAccessibleName(CRecordDlg::tr("レコード"));
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionResizeMode(kNameColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(kDescriptionColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kLengthColumn, QHeaderView::Fixed);
    return list;
}

QTreeWidgetItem* MakeRecordItem(const RecordSummary& record) {
    const QString description = QString::fromStdString(record.description);
    auto* item = new QTreeWidgetItem(
        {QString::fromStdString(record.name), description, RecordLengthText(record.length)});
    item->setTextAlignment(kLengthColumn, Qt::AlignRight | Qt::AlignVCenter);
    // Long descriptions are cut at the column's edge; the whole line is a hover away.
    item->setToolTip(kDescriptionColumn, description);
    return item;
}

}  // namespace

CRecordDlg::CRecordDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Record"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    DialogTemplateLayout layout(this, 326, 198);
    // Created in tab order.
    prompt_ = new QLabel(this);
    layout.Place(prompt_, {7, 7, 312, 10});
    list_ = MakeRecordList(this);
    prompt_->setBuddy(list_);
    layout.Place(list_, {7, 20, 312, 138});
    more_line_ = new QLabel(this);
    SetControlId(more_line_, kMoreLineId);
    more_line_->setWordWrap(true);
    layout.Place(more_line_, {7, 161, 312, 10});
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok_button_, 1);
    ok_button_->setDefault(true);
    layout.Place(ok_button_, {107, 177, 50, 14});
    auto* cancel_button = new QPushButton(tr("キャンセル"), this);
    SetControlId(cancel_button, 2);
    layout.Place(cancel_button, {169, 177, 50, 14});
    const DialogBaseUnits units = layout.Apply();
    name_width_ = ToPixels(units, {0, 0, 84, 0}).width();
    length_width_ = ToPixels(units, {0, 0, 44, 0}).width();

    connect(ok_button_, &QPushButton::clicked, this, &CRecordDlg::accept);
    connect(cancel_button, &QPushButton::clicked, this, &CRecordDlg::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &CRecordDlg::accept);
}

void CRecordDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (filled_) {
        return;
    }
    filled_ = true;
    const auto count = static_cast<std::int64_t>(records.size()) + more_records;
    prompt_->setText(RecordPromptSentence(count));
    list_->setAccessibleDescription(prompt_->text());
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(records.size()));
    for (const RecordSummary& record : records) {
        items.append(MakeRecordItem(record));
    }
    list_->addTopLevelItems(items);
    list_->header()->resizeSection(kNameColumn, name_width_);
    list_->header()->resizeSection(kLengthColumn, length_width_);
    if (more_records > 0) {
        more_line_->setText(
            MoreRecordsSentence(more_records, static_cast<std::int64_t>(records.size())));
    }
    more_line_->setVisible(more_records > 0);
    if (!records.empty()) {
        const int first = static_cast<int>(std::min(chosen, records.size() - 1));
        list_->setCurrentItem(list_->topLevelItem(first));
    }
    list_->setFocus();
}

void CRecordDlg::accept() {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    chosen = static_cast<std::size_t>(current.row());
    QDialog::accept();
}

std::optional<std::size_t> AskRecord(QWidget* parent, const SequenceLook& look) {
    CRecordDlg dialog(parent);
    dialog.records = look.records;
    dialog.more_records = look.more_records;
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen;
}

}  // namespace tavrola
