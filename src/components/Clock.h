#pragma once

#include <QDateTime>

#include <functional>

/// The time source of the run: the local time, or a fixed one in tests.
using Clock = std::function<QDateTime()>;
