#pragma once
// The QApplication of the view tests, made by their main before the first test.

#include <QApplication>

namespace korvalin::test {

inline QApplication& QtApp() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

}  // namespace korvalin::test
