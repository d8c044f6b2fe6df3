// Cases that need a larger screen: a test program runs them in a copy of itself started at
// another number of dots per inch. Wine reads the screen's dots per inch from the registry
// once, as a process starts; the setting is changed only until the copy has read it, and a
// run that ended before putting it back has it put back by the next test program to start.
#pragma once

#include <string>

// The screen's dots per inch in this process.
int ScreenDotsPerInch();
// Runs this program's tests that AFilter names at ADotsPerInch, in a process of its own, its
// output going where this one's goes; answers its exit code (-1 when it could not start).
int RunTestsAtDotsPerInch(int ADotsPerInch, const std::string& AFilter);
// Called as every test program starts, before anything reads the screen. In such a copy: tells
// the program that started it that the setting has been read. In any other: puts back a
// setting a run that ended half way left changed.
void SettleScreenDotsPerInch();
// Whether this process is such a copy.
bool IsRunningAtOtherDotsPerInch();
