// The kinds of input the page hands the program (web_take_input, WebBridge.h), by the
// numbers that cross from JavaScript to C++. WebInput.js names the same numbers in its
// frozen web.inputKinds, by the kinds its messages carry; a change to one is a change
// to both (tests/webunit/WebKeysTest.cpp holds them together).
#pragma once

enum class WebInputKind { None = 0, Key = 1, LeftDown = 2, LeftUp = 3, RightDown = 4, Wheel = 5 };
