#include "child_host.h"

#include <gtest/gtest.h>

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring PrivateCopyOfTheChildHost() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"lmc32-child-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* file : {L"lmc32_error_child.exe", L"lmc32.dll"})
        CopyFileW((ProgramFolder() + file).c_str(), (folder + file).c_str(), FALSE);
    return folder;
}

ChildRun RunChild(const wchar_t* scenario, const std::wstring& folder) {
    wchar_t tempFolder[MAX_PATH], tempFile[MAX_PATH];
    GetTempPathW(MAX_PATH, tempFolder);
    GetTempFileNameW(tempFolder, L"lmc", 0, tempFile);
    const std::wstring program = folder + L"lmc32_error_child.exe";
    std::wstring commandLine = L"\"" + program + L"\" " + scenario + L" \"" + tempFile + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ChildRun run;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start the child host, error " << GetLastError();
        return run;
    }
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    HANDLE file = CreateFileW(tempFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::wstring content(4096, L'\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    DeleteFileW(tempFile);
    content.resize(read / sizeof(wchar_t));
    for (std::size_t start = 0, end; (end = content.find(L'\x1e', start)) != std::wstring::npos; start = end + 1) {
        const std::wstring record = content.substr(start, end - start);
        const std::size_t split = record.find(L'\x1f');
        run.boxes.emplace_back(record.substr(0, split), record.substr(split + 1));
    }
    return run;
}
