#pragma once

#include "TestMain.h"

#include <QApplication>

// main() of a test that needs widgets.
#define TIPDESK_GUI_TEST_MAIN(TestClass) TIPDESK_TEST_MAIN_WITH(QApplication, TestClass)
