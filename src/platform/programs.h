#pragma once
// Starting other programs without waiting for them. A program the system names as a Windows file
// ("Duplix.exe ", "Agenda.exe ") is looked up by name in a folder, without regard to case and
// with ".exe" optional; the calculator is a command of this system's own. A program that is not
// there is silently not started.
#include <string>

namespace saldora::platform {

// Starts the program of that name found in `folder`; false when there is none or it won't start.
bool startProgramIn(const std::string& folder, const std::string& windowsName);

// The calculator: saldora.INI, section "Programas", key "Calculadora" names the command; by
// default the first desktop calculator found on the system.
bool startCalculator();

} // namespace saldora::platform
