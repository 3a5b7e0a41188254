#pragma once

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

// main() of a test without widgets that still reaches the client's settings or data folders: its
// own home (set before anything reads it) and the program's name, which the paths are built from.
#define TIPDESK_CORE_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        QCoreApplication app(argc, argv);                                                          \
        QCoreApplication::setApplicationName(QStringLiteral("TipDesk"));                           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
