#pragma once

#include <QtCore/QObject>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace nvo::test {

/// Connects two listeners to a container's signal that carries a cell range (first
/// column, first row, last column, last row), makes `change`, and expects both to have
/// heard `expected`: a container's signals serve any number of listeners.
template<class Container>
void ExpectBothListenersHear(Container &container, void (Container::*signal)(int, int, int, int),
                             const std::function<void()> &change, const std::vector<int> &expected)
{
    std::vector<int> first, second;
    const QMetaObject::Connection one = QObject::connect(
        &container, signal, [&first](int c1, int r1, int c2, int r2) { first = {c1, r1, c2, r2}; });
    const QMetaObject::Connection two = QObject::connect(
        &container, signal, [&second](int c1, int r1, int c2, int r2) { second = {c1, r1, c2, r2}; });
    change();
    QObject::disconnect(one);
    QObject::disconnect(two);
    EXPECT_EQ(first, expected);
    EXPECT_EQ(second, expected);
}

} // namespace nvo::test
