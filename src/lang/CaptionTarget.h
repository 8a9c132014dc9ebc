#pragma once

#include <QString>

// A window whose captions the language table sets, addressed by the objectName of the control
// and, for radio-group items and grid header cells, the item index (-1 for the control itself).
class ICaptionTarget {
public:
    virtual ~ICaptionTarget() = default;
    virtual void SetCaption(const QString& objectName, int item, const QString& text) = 0;
};

// One control that takes an entry of a language file.
struct TCaptionSlot {
    int entry;              // index in the text list
    const char* objectName; // the control
    int item;               // -1 for the control, else the radio item or grid column
};
