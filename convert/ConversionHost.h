#pragma once

#include "convert/FormStrings.h"

#include <QString>

namespace convert {

enum class Box { Text1, Text2, Text3 };

// What the conversions use of the window: the three text boxes, read and replaced
// whole, the blank-field message and the shared strings.
class ConversionHost {
public:
    virtual ~ConversionHost() = default;

    virtual QString text(Box box) const = 0;
    virtual void setText(Box box, const QString &text) = 0;
    // Modal: returns when the user has dismissed the message.
    virtual void showBlankFieldMessage() = 0;
    virtual FormStrings &strings() = 0;
};

} // namespace convert
