// An exception carrying a message for the learner-facing layers to report.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace platform {

class MessageError : public std::exception {
public:
    explicit MessageError(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

} // namespace platform
