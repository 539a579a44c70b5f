// The one error class of the imaging control.
#pragma once

#include <QString>

#include <stdexcept>

class ELeadImageError : public std::runtime_error {
public:
    explicit ELeadImageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};
