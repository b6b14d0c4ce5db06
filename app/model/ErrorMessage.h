#pragma once

#include <QString>
#include <exception>

// The message for the user that an error carries.
QString errorMessage(const std::exception &error);
