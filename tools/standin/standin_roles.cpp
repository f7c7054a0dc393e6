#include "standin_roles.h"

#include <windows.h>

namespace standin {

namespace {

struct Role {
    const wchar_t* fileName;
    const wchar_t* tasks;
};

constexpr Role kRoles[] = {
    {L"DataDiscTool.exe", L"Data CD, Data DVD, Data HD DVD and Data Blu-ray Disc"},
    {L"AudioDiscTool.exe", L"Audio CD"},
    {L"TrackRipTool.exe", L"Grab Audio CD"},
    {L"VideoDiscTool.exe", L"Video CD, Super Video CD and DVD-Video Files"},
    {L"EraseTool.exe", L"Disc Eraser"},
    {L"DriveInfoTool.exe", L"Device Info"},
    {L"ImageBuildTool.exe", L"ISO Creator"},
    {L"ImageWriteTool.exe", L"ISO Burner"},
    {L"ImageReadTool.exe", L"ISO Grabber"},
};

} // namespace

const wchar_t* roleOf(const wchar_t* fileName) {
    for (const Role& role : kRoles) {
        if (lstrcmpiW(role.fileName, fileName) == 0) {
            return role.tasks;
        }
    }
    return nullptr;
}

} // namespace standin
