#pragma once

#include <QString>

// Modal message boxes with the classic style bits and answers.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
}

namespace MsgBoxResult {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
}

// Shows prompt (lines separated by CR, CR LF or LF) under title, waits, and returns
// the button pressed. A detailed text, when given, sits behind the box's details button.
int MsgBox(const QString &prompt, int style, const QString &title, const QString &detailedText = {});
