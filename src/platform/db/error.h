// The one exception type of the data-access layer: carries the engine's message.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace db {

class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

} // namespace db
