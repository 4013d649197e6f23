// The one exception type of the sound layer: says what could not be played and why.
#pragma once

#include "platform/system/messageerror.h"

namespace sound {

class Error : public platform::MessageError {
public:
    using MessageError::MessageError;
};

} // namespace sound
