#pragma once

#include "widgets/Panel.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class TLang;
class TShape;

// PanelChanelState: the indicator of each channel's state with its number and the check box that
// selects the channel for the simple panel, and "?", which opens the indicator dialog.
class TChannelStatePanel : public TPanel {
    Q_OBJECT
public:
    explicit TChannelStatePanel(QWidget* parent = nullptr);

    // Channel 1..3.
    TShape* Indicator(int channel) const { return indicators_.at(size_t(channel - 1)); }
    QCheckBox* ChannelBox(int channel) const { return boxes_.at(size_t(channel - 1)); }
    void ShowChannels(bool channel1, bool channel2, bool channel3);
    // The check boxes are offered in the simple control mode only.
    void ShowChannelBoxes(bool show);
    QPushButton* StatesButton() const { return btnSetCoordStates; }
    // The hint this program adds, in the language in use.
    void ApplyTexts(const TLang& lang);

signals:
    // The operator ticked or cleared a channel's check box.
    void ChannelsClicked(bool channel1, bool channel2, bool channel3);

private:
    std::array<QLabel*, 3> labels_{};
    std::array<TShape*, 3> indicators_{};
    std::array<QCheckBox*, 3> boxes_{};
    QPushButton* btnSetCoordStates;
};
