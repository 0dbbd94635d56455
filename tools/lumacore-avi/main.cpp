// lumacore-avi: a console host that runs video through the installed codecs
// using only the platform's VCM.
//
//   lumacore-avi codecs      every installed video codec: FourCC, driver, name, description
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string FccText(DWORD fcc) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const char c = char((fcc >> (8 * i)) & 0xFF);
        s[i] = (c >= 32 && c < 127) ? c : '.';
    }
    return s;
}

std::string Narrow(const WCHAR* w) {
    char out[512];
    WideCharToMultiByte(CP_ACP, 0, w, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

int ListCodecs() {
    std::printf("%-6s %-14s %-18s %s\n", "FourCC", "Driver", "Name", "Description");
    int count = 0;
    ICINFO listed;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &listed); ++i) {
        ICINFO info;
        std::memset(&info, 0, sizeof info);
        std::string name = "-", description = "(could not be opened)";
        if (HIC hic = ICOpen(ICTYPE_VIDEO, listed.fccHandler, ICMODE_QUERY)) {
            if (ICGetInfo(hic, &info, sizeof info) > 0) {
                name = Narrow(info.szName);
                description = Narrow(info.szDescription);
            }
            ICClose(hic);
        }
        std::printf("%-6s %-14s %-18s %s\n", FccText(listed.fccHandler).c_str(), Narrow(listed.szDriver).c_str(),
                    name.c_str(), description.c_str());
        ++count;
    }
    std::printf("%d video codecs installed\n", count);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lumacore-avi codecs\n"
                 "  codecs   list every installed video codec through the VCM\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "codecs") return ListCodecs();
    return Usage();
}
