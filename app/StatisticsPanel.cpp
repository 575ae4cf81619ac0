#include "app/StatisticsPanel.h"

#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include "formats/StatisticsCsv.h"
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

}  // namespace

StatisticsPanel::StatisticsPanel(ViewModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      thresholdBox_(new QDoubleSpinBox(this)),
      belowSeconds_(figureLabel(this)),
      belowArea_(figureLabel(this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
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

    thresholdBox_->setRange(0.0, 100.0);
    thresholdBox_->setDecimals(1);
    thresholdBox_->setSingleStep(1.0);
    thresholdBox_->setSuffix(QStringLiteral(" %"));
    thresholdBox_->setValue(kDefaultRso2Threshold);
    thresholdBox_->setAlignment(Qt::AlignRight);
    // Only rSO2 has a threshold; its figures stand apart, beginning on the heading row.
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 0, 5, static_cast<int>(kRows.size()) + 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("rSO2 閾値"), this), 0, 6);
    grid->addWidget(thresholdBox_, 0, 7);
    grid->addWidget(new QLabel(QStringLiteral("閾値未満の時間"), this), 1, 6);
    grid->addWidget(belowSeconds_, 1, 7);
    grid->addWidget(new QLabel(QStringLiteral("閾値未満の面積"), this), 2, 6);
    grid->addWidget(belowArea_, 2, 7);
    grid->setColumnStretch(8, 1);

    subscription_ = model_.subscribe([this](unsigned changes) {
        if ((changes & (kRecordingChanged | kSeriesChanged | kRangeChanged)) != 0) {
            refresh();
        }
    });
    connect(thresholdBox_, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
        refresh();
        Q_EMIT thresholdChanged(percent);
    });
    refresh();
}

StatisticsPanel::~StatisticsPanel() {
    model_.unsubscribe(subscription_);
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

void StatisticsPanel::refresh() {
    const GraphViewState& view = model_.view();
    StatisticsRequest request;
    request.start = view.viewStart;
    request.end = view.viewEnd;
    request.rso2Threshold = threshold();
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
}

}  // namespace nuvisca
