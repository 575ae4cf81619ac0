#include "app/StatisticsPanel.h"

#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "formats/StatisticsCsv.h"
#include "formats/TextFields.h"
#include "graph/ReviewTexts.h"
#include "graph/SlotClock.h"
#include "store/Channels.h"
#include "store/RangeStatistics.h"

namespace nuvisca {
namespace {

// The rows, in the order `nuvisca stats` lists the channels.
constexpr const auto& kRows = kListingOrder;
const QString kNoValue = QStringLiteral("—");

QString shown(const std::string& text) {
    return text.empty() ? kNoValue : QString::fromStdString(text);
}

QLabel* figureLabel(QWidget* parent) {
    auto* label = new QLabel(kNoValue, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QDoubleSpinBox* percentBox(QWidget* parent, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0.0, 100.0);
    box->setDecimals(1);
    box->setSingleStep(1.0);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QString fixed(double value, int decimals) {
    std::string text;
    appendFixed(text, value, decimals);
    return QString::fromStdString(text);
}

}  // namespace

StatisticsPanel::StatisticsPanel(ViewModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      title_(new QLabel(this)),
      thresholdBox_(percentBox(this, model.review().absoluteThreshold)),
      belowSeconds_(figureLabel(this)),
      belowShare_(figureLabel(this)),
      belowArea_(figureLabel(this)),
      baselineBox_(percentBox(this, 0.0)),
      baselineMethod_(new QLabel(this)),
      fromSelection_(new QPushButton(QStringLiteral("ベースラインに設定"), this)),
      firstMinutesBox_(new QSpinBox(this)),
      dropBox_(percentBox(this, model.review().dropPercent)),
      effective_(figureLabel(this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    column->addWidget(title_);
    auto* grid = new QGridLayout;
    column->addLayout(grid);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(0);

    const std::array<QString, 4> headings{QStringLiteral("件数"), QStringLiteral("平均"),
                                          QStringLiteral("最小"), QStringLiteral("最大")};
    for (std::size_t c = 0; c < headings.size(); ++c) {
        auto* heading = new QLabel(headings[c], this);
        heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(heading, 0, static_cast<int>(c) + 1);
    }
    // The Japanese glyphs stand taller than the Latin ones; every row takes their height.
    const int rowHeight = QLabel(headings[0]).sizeHint().height();
    for (std::size_t r = 0; r < kRows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        grid->setRowMinimumHeight(row, rowHeight);
        grid->addWidget(new QLabel(QString::fromLatin1(kChannels[kRows[r]].name), this), row, 0);
        for (std::size_t c = 0; c < headings.size(); ++c) {
            figures_[kRows[r]][c] = figureLabel(this);
            grid->addWidget(figures_[kRows[r]][c], row, static_cast<int>(c) + 1);
        }
    }

    // Only rSO2 has thresholds; its figures stand apart, beginning on the heading row.
    const auto addRule = [&](int at) {
        auto* rule = new QFrame(this);
        rule->setFrameShape(QFrame::VLine);
        rule->setFrameShadow(QFrame::Sunken);
        grid->addWidget(rule, 0, at, static_cast<int>(kRows.size()) + 1, 1);
    };
    const auto addRow = [&](int row, int at, const QString& caption, QWidget* value) {
        grid->addWidget(new QLabel(caption, this), row, at);
        grid->addWidget(value, row, at + 1);
    };
    addRule(5);
    addRow(0, 6, QStringLiteral("rSO2 閾値"), thresholdBox_);
    addRow(1, 6, QStringLiteral("有効閾値"), effective_);
    addRow(2, 6, QStringLiteral("閾値未満の時間"), belowSeconds_);
    grid->addWidget(belowShare_, 3, 7);
    addRow(4, 6, QStringLiteral("閾値未満の面積"), belowArea_);
    addRule(8);
    addRow(0, 9, QStringLiteral("ベースライン"), baselineBox_);
    grid->addWidget(baselineMethod_, 1, 10);
    grid->addWidget(fromSelection_, 2, 9, 1, 2);
    grid->addWidget(firstMinutesBox_, 3, 9, 1, 2);
    addRow(4, 9, QStringLiteral("相対低下"), dropBox_);
    grid->setColumnStretch(11, 1);

    // 0 stands for no baseline in both boxes.
    baselineBox_->setSpecialValueText(kNoValue);
    baselineBox_->setDecimals(2);
    baselineBox_->setKeyboardTracking(false);
    firstMinutesBox_->setRange(0, 600);
    firstMinutesBox_->setPrefix(QStringLiteral("最初の "));
    firstMinutesBox_->setSuffix(QStringLiteral(" 分"));
    firstMinutesBox_->setSpecialValueText(QStringLiteral("最初の — 分"));
    firstMinutesBox_->setAlignment(Qt::AlignRight);

    subscription_ = Subscription(model_, [this](unsigned changes) {
        if ((changes & (kRecordingChanged | kSeriesChanged | kRangeChanged | kSelectionChanged |
                        kReviewChanged)) != 0) {
            refresh();
        }
    });
    connect(thresholdBox_, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
        model_.setAbsoluteThreshold(percent);
        Q_EMIT thresholdChanged(percent);
    });
    connect(dropBox_, &QDoubleSpinBox::valueChanged, this,
            [this](double percent) { model_.setDropPercent(percent); });
    connect(baselineBox_, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
        model_.setBaseline(percent > 0.0 ? std::optional(Baseline{percent}) : std::nullopt);
    });
    connect(firstMinutesBox_, &QSpinBox::valueChanged, this, [this](int minutes) {
        model_.setBaseline(
            minutes > 0 ? firstMinutesBaseline(model_.recording(), model_.averaged(), minutes)
                        : std::nullopt);
    });
    connect(fromSelection_, &QPushButton::clicked, this, [this] {
        const SlotSpan selection = model_.selection();
        model_.setBaseline(measureBaseline(model_.recording(), model_.averaged(),
                                           BaselineMethod::kRange, selection.start, selection.end));
    });
    refresh();
}

double StatisticsPanel::threshold() const {
    return thresholdBox_->value();
}

void StatisticsPanel::setThreshold(double percent) {
    thresholdBox_->setValue(percent);
}

QLabel* StatisticsPanel::figure(Channel channel, StatisticsColumn column) const {
    return figures_[channel][static_cast<std::size_t>(column)];
}

void StatisticsPanel::showBaseline() {
    const std::optional<Baseline>& baseline = model_.review().baseline;
    const QSignalBlocker blockValue(baselineBox_);
    const QSignalBlocker blockMinutes(firstMinutesBox_);
    baselineBox_->setValue(baseline ? baseline->value : 0.0);
    const bool firstMinutes = baseline && baseline->method == BaselineMethod::kFirstMinutes;
    firstMinutesBox_->setValue(firstMinutes ? baseline->end / kSlotsPerMinute : 0);
    baselineMethod_->setText(baseline ? QString::fromStdString(baselineMethodText(*baseline))
                                      : QString());
    fromSelection_->setEnabled(!model_.selection().empty());
}

void StatisticsPanel::refresh() {
    const SlotSpan span = model_.reviewedSpan();
    const bool selected = !model_.selection().empty();
    const QString clocks =
        QString::fromStdString(formatClockSpan(model_.recording(), span.start, span.end));
    title_->setText(selected ? QStringLiteral("選択範囲 %1（%2）")
                                   .arg(clocks, QString::fromStdString(formatSlotsDuration(
                                                    std::int64_t{span.end} - span.start)))
                             : QStringLiteral("表示範囲 %1").arg(clocks));
    showBaseline();
    StatisticsRequest request;
    request.start = span.start;
    request.end = span.end;
    request.rso2Threshold = model_.review().effectiveThreshold();
    const RangeStatistics stats =
        computeRangeStatistics(model_.recording(), model_.averaged(), request);

    for (const Channel channel : kRows) {
        const ChannelStatisticTexts texts = channelStatisticTexts(channel, stats.channels[channel]);
        const std::array<const std::string*, 4> columns{&texts.count, &texts.mean, &texts.min,
                                                        &texts.max};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            figures_[channel][c]->setText(shown(*columns[c]));
        }
    }
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    belowSeconds_->setText(shown(below.seconds) + QStringLiteral(" s"));
    belowArea_->setText(shown(below.area) + QStringLiteral(" %·min"));
    effective_->setText(shown(below.threshold) + QStringLiteral(" %"));
    const std::int32_t counted = stats.channels[kRso2].count;
    belowShare_->setText(
        counted > 0 ? fixed(stats.rso2BelowSeconds / 60.0, 1) + QStringLiteral(" 分 (") +
                          fixed(100.0 * stats.rso2BelowCount / counted, 1) + QStringLiteral(" %)")
                    : kNoValue);
}

}  // namespace nuvisca
