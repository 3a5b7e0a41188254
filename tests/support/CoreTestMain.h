#pragma once

#include "TestMain.h"

#include <QCoreApplication>

// main() of a test without widgets that still reaches the client's settings or data folders.
#define TIPDESK_CORE_TEST_MAIN(TestClass) TIPDESK_TEST_MAIN_WITH(QCoreApplication, TestClass)
