#pragma once
// The driver's commands that read back an executable's resources and the modules the running
// program was given (inspect.cpp).
#include <string>

// Runs the command when it is one of these and returns its exit code; -1 when it is not.
int inspectCommand(const std::string& command, int args, char** arg);
