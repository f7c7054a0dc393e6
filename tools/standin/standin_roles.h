// Which of the suite's tasks each stand-in program carries the name of.
#pragma once

namespace standin {

// The task titles that the program file `fileName` (without directory, any letter case) serves
// in the start centre, e.g. L"Device Info" for L"DriveInfoTool.exe"; nullptr for a file name
// that is not one of the suite's task programs.
const wchar_t* roleOf(const wchar_t* fileName);

} // namespace standin
