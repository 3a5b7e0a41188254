#pragma once

#include "content/ContentRows.h"

#include <QDate>

// The content the alert window and the poll's popup actions show, asked of the server for the
// user's level (filtered by it while level grading is on) and returned in the row formats.
// Each raises AppError when the call fails or the answer is not a well-formed document.
namespace ContentQueries {

GridRows todaysAlerts();
GridRows latestAlerts(); // the latest 30, any day
GridRows alertsBetween(const QDate &from, const QDate &to);
GridRows todaysLiveItems();

} // namespace ContentQueries
