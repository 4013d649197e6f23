// The one exception type of the data-access layer: carries the engine's message.
#pragma once

#include "platform/system/messageerror.h"

namespace db {

class Error : public platform::MessageError {
public:
    using MessageError::MessageError;
};

} // namespace db
