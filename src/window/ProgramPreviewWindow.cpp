#include "ProgramPreviewWindow.h"

#include "editor/CommandList.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "panels/TravelLimitsPanel.h"
#include "preview/SendQuestions.h"
#include "session/OperatorSettings.h"
#include "session/ProgramEditor.h"
#include "session/controller/Sending.h"
#include "widgets/Design.h"
#include "widgets/PreviewPlot.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace Design;

namespace {
// Findings beyond this many are counted, not listed: a list of 65,535 wrong lines stays usable.
constexpr int kMaxFindingsShown = 500;
// The list is walked again this long after its last change, so that typing stays quick.
constexpr int kRefreshDelayMs = 150;
} // namespace

TProgramPreviewWindow::TProgramPreviewWindow(TOperatorSettings& options, TProgramEditor& editor,
                                             const TSending& sending, QWidget* parent)
    : TTranslatedDialog(options, {"FormPreview", "", {}, 0, false}, parent), editor_(editor),
      sending_(sending) {
    setWindowTitle(options.Lang().ExtraText(Ext::PreviewTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* column = new QVBoxLayout(this);
    split_ = new QSplitter(Qt::Vertical, this);
    QSplitter* split = split_;
    split->setObjectName("splitPreview");

    // Above: the figures, the findings, the direct commands and the notes.
    auto* top = new QWidget(split);
    auto* topColumn = new QVBoxLayout(top);
    topColumn->setContentsMargins(0, 0, 0, 0);
    tblFigures = Named(new QTableWidget(top), "tblFigures");
    tblFigures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblFigures->setSelectionMode(QAbstractItemView::NoSelection);
    tblFigures->setFocusPolicy(Qt::NoFocus);
    tblFigures->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    tblFigures->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    tblFigures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblFigures->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lstFindings = Named(new QListWidget(top), "lstFindings");
    lstFindings->setWordWrap(true);
    // A few findings at a time, scrolled: the plot takes the height that is left.
    lstFindings->setMinimumHeight(lstFindings->fontMetrics().lineSpacing() * 3);
    lstFindings->setMaximumHeight(lstFindings->fontMetrics().lineSpacing() * 7);
    lblDirect = Label("lblDirect", {}, top);
    lblDirect->setWordWrap(true);
    lblNotes = Label("lblNotes", {}, top);
    lblNotes->setWordWrap(true);
    lblNotes->setEnabled(false); // a quieter grey: it explains, it does not report
    chbPart = Named(new QCheckBox(top), "chbPart");
    chbPart->hide(); // until the window is told where the part begins
    topColumn->addWidget(chbPart);
    topColumn->addWidget(tblFigures);
    topColumn->addWidget(lstFindings, 1);
    topColumn->addWidget(lblDirect);
    topColumn->addWidget(lblNotes);

    // Below: the plot, taking what height there is, and the travel limits.
    auto* bottom = new QWidget(split);
    auto* bottomColumn = new QVBoxLayout(bottom);
    bottomColumn->setContentsMargins(0, 0, 0, 0);
    chartPreview = new TPreviewPlot(bottom);
    lblPlotCut = Label("lblPlotCut", {}, bottom);
    lblPlotCut->hide();
    Travel = new TTravelLimitsPanel(bottom);
    bottomColumn->addWidget(chartPreview, 1);
    bottomColumn->addWidget(lblPlotCut);
    bottomColumn->addWidget(Travel);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    column->addWidget(split);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshDelayMs);
    connect(refreshTimer_, &QTimer::timeout, this, &TProgramPreviewWindow::Refresh);
    const auto later = [this] { refreshTimer_->start(); };
    const TCommandList* list = &editor.List();
    connect(list, &QAbstractItemModel::modelReset, this, later);
    connect(list, &QAbstractItemModel::rowsInserted, this, later);
    connect(list, &QAbstractItemModel::rowsRemoved, this, later);
    connect(list, &QAbstractItemModel::rowsMoved, this, later);
    connect(list, &QAbstractItemModel::dataChanged, this, later);
    connect(&options, &TOperatorSettings::ShownValuesChanged, this, later);
    connect(lstFindings, &QListWidget::itemClicked, this, &TProgramPreviewWindow::FindingClicked);
    connect(chbPart, &QCheckBox::toggled, this, later);
    connect(Travel, &TTravelLimitsPanel::Edited, this, &TProgramPreviewWindow::TravelEdited);
    resize(820, 720);
    FormCreate();
}

void TProgramPreviewWindow::showEvent(QShowEvent* event) {
    TTranslatedDialog::showEvent(event);
    if (sized_)
        return;
    // At first the figures and the findings take what they need; the plot takes the rest.
    sized_ = true;
    const int above = split_->widget(0)->sizeHint().height();
    split_->setSizes({above, std::max(split_->height() - above, 1)});
}

void TProgramPreviewWindow::Fill() {
    Refresh();
}

void TProgramPreviewWindow::Refresh() {
    refreshTimer_->stop();
    const TLang& lang = Lang();
    const auto x = [&](int id) { return lang.ExtraText(id); };
    setWindowTitle(x(Ext::PreviewTitle));
    const TTravelLimits& travel = Options().Settings().Travel;
    chbPart->setText(x(Ext::PreviewResumePart));
    const QStringList all = editor_.List().Lines();
    const int from = chbPart->isChecked() && partFrom_ ? partFrom_() : -1;
    shownFrom_ = from >= 0 && from < all.size() ? from : 0;
    const QStringList lines = all.mid(shownFrom_);
    const Preview::TListPreview preview = Preview::PreviewList(lines, travel);
    const TPreviewUnits units = SendQuestions::Units(Options().Settings(), lang);
    const TPreviewReport report(preview, lang, units, travel);

    // The figures: a row per figure, a column per program.
    const QStringList rows = report.RowNames();
    tblFigures->clear();
    tblFigures->setRowCount(int(rows.size()));
    tblFigures->setColumnCount(int(report.Columns().size()));
    tblFigures->setVerticalHeaderLabels(rows);
    for (int c = 0; c < int(report.Columns().size()); ++c) {
        const TPreviewReport::TColumn& column = report.Columns()[size_t(c)];
        tblFigures->setHorizontalHeaderItem(c, new QTableWidgetItem(column.caption));
        for (int r = 0; r < int(column.values.size()); ++r)
            tblFigures->setItem(r, c, new QTableWidgetItem(column.values[r]));
    }
    lblDirect->setText(report.DirectLines());
    lblDirect->setVisible(!report.DirectLines().isEmpty());
    // The controller may hold less than the list says: a list stopped inside a recording.
    QString notes = sending_.ShorterProgram().isEmpty() ? report.Notes()
                                                        : report.Notes() + '\n' + sending_.ShorterProgram();
    if (chbPart->isChecked())
        notes = x(Ext::PreviewPartNote).arg(shownFrom_ + 1).arg(all.size()) +
                (notes.isEmpty() ? "" : "\n" + notes);
    lblNotes->setText(notes);

    lstFindings->clear();
    const auto& findings = report.Findings();
    if (findings.empty())
        (new QListWidgetItem(x(Ext::PreviewNoFindings), lstFindings))->setFlags(Qt::ItemIsEnabled);
    for (size_t i = 0; i < findings.size() && i < size_t(kMaxFindingsShown); ++i) {
        auto* item = new QListWidgetItem(findings[i].text, lstFindings);
        item->setData(Qt::UserRole, findings[i].line);
    }
    if (findings.size() > size_t(kMaxFindingsShown))
        lstFindings->addItem(x(Ext::PreviewFindingsMore).arg(findings.size() - size_t(kMaxFindingsShown)));

    chartPreview->Show(preview, units, travel,
                       {x(Ext::PreviewTimeAxis), x(Ext::PreviewPositionAxis).arg(units.name),
                        x(Ext::PreviewSeries), x(Ext::PreviewTravelSeries)});
    const bool cut = std::any_of(preview.programs.begin(), preview.programs.end(),
                                 [](const Preview::TProgram& p) { return p.pathCut; });
    lblPlotCut->setText(x(Ext::PreviewPlotCut).arg(Preview::MaxPathPoints));
    lblPlotCut->setVisible(cut);
    Travel->Show(travel, units,
                 {x(Ext::TravelLimits).arg(units.name), x(Ext::TravelChannel), x(Ext::TravelFrom),
                  x(Ext::TravelTo), x(Ext::TravelBad)});
}

void TProgramPreviewWindow::SetPart(std::function<int()> partFrom) {
    partFrom_ = std::move(partFrom);
    chbPart->setVisible(bool(partFrom_));
    refreshTimer_->start();
}

void TProgramPreviewWindow::FindingClicked(QListWidgetItem* item) {
    const QVariant line = item->data(Qt::UserRole);
    if (line.isValid() && line.toInt() >= 0)
        emit LineChosen(shownFrom_ + line.toInt());
}

void TProgramPreviewWindow::TravelEdited(const TTravelLimits& limits) {
    TSettings settings = Options().Settings();
    settings.Travel = limits;
    Options().Apply(settings);
}
