#pragma once

#include "TestEnvironment.h"

#include <QApplication>
#include <QTest>

// main() of a test that needs widgets: its own home and config folders (set before the application
// reads them), a QApplication, and the program's name, which the settings paths are built from.
#define TIPDESK_GUI_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        QApplication app(argc, argv);                                                              \
        QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));                           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
