/* A stand-in for the Windows game, in plain C without Qt. It records, in files beside itself:
 *   standin-record.N          its arguments as CommandLineToArgvW splits them, one a line (UTF-8)
 *   standin-record.N.cmdline  GetCommandLineA() as it arrived
 *   standin-record.N.show     the wShowWindow of GetStartupInfoA(), or "none" without
 *                             STARTF_USESHOWWINDOW
 *   standin-record.N.cwd      the folder it was started in (UTF-8)
 * N counts the starts from 0; the argument file is renamed into place last, so once it exists
 * the start is fully recorded. */
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

static void write_file(const wchar_t *path, const char *bytes, size_t size)
{
    FILE *f = _wfopen(path, L"wb");
    if (!f)
        return;
    fwrite(bytes, 1, size, f);
    fclose(f);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show)
{
    (void)instance;
    (void)previous;
    (void)line;
    (void)show;
    wchar_t base[MAX_PATH + 64];
    DWORD n = GetModuleFileNameW(NULL, base, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 1;
    wchar_t *slash = wcsrchr(base, L'\\');
    if (!slash)
        return 1;
    wcscpy(slash + 1, L"standin-record");

    wchar_t record[MAX_PATH + 96], extra[MAX_PATH + 128];
    int start = 0;
    for (;; ++start) {
        swprintf(record, sizeof record / sizeof *record, L"%ls.%d", base, start);
        if (GetFileAttributesW(record) == INVALID_FILE_ATTRIBUTES)
            break;
    }

    const char *commandLine = GetCommandLineA();
    swprintf(extra, sizeof extra / sizeof *extra, L"%ls.cmdline", record);
    write_file(extra, commandLine, strlen(commandLine));

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    char showText[16] = "none";
    if (startup.dwFlags & STARTF_USESHOWWINDOW)
        snprintf(showText, sizeof showText, "%u", (unsigned)startup.wShowWindow);
    swprintf(extra, sizeof extra / sizeof *extra, L"%ls.show", record);
    write_file(extra, showText, strlen(showText));

    wchar_t folder[MAX_PATH + 1];
    DWORD folderSize = GetCurrentDirectoryW(MAX_PATH + 1, folder);
    if (folderSize > 0 && folderSize <= MAX_PATH) {
        char utf8[4 * MAX_PATH + 4];
        int size = WideCharToMultiByte(CP_UTF8, 0, folder, -1, utf8, sizeof utf8, NULL, NULL);
        swprintf(extra, sizeof extra / sizeof *extra, L"%ls.cwd", record);
        if (size > 0)
            write_file(extra, utf8, (size_t)size - 1);
    }

    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    swprintf(extra, sizeof extra / sizeof *extra, L"%ls.tmp", record);
    FILE *f = _wfopen(extra, L"wb");
    if (!f)
        return 1;
    for (int i = 1; argv && i < argc; ++i) {
        char utf8[4096];
        int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8, sizeof utf8, NULL, NULL);
        if (size > 0)
            fwrite(utf8, 1, (size_t)size - 1, f);
        fputc('\n', f);
    }
    fclose(f);
    MoveFileExW(extra, record, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
