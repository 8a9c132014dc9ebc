#pragma once

class ISettingsView;
class TChannelState;
class TLang;

// What every part of one controller reads and paints through: the operator's settings, this
// controller's channel state and the texts. The controller makes it once and hands it to each
// part, which keeps it by value (three references).
struct TControllerBasis {
    const ISettingsView& settings;
    TChannelState& state;
    const TLang& lang;
};
