// Writers of the small text and binary files a build needs beside the
// generated C. Each returns false when its file cannot be written; the
// caller prints which.
#include "resources.h"

#include "messages.h"
#include "paths.h"

#include <cctype>
#include <fstream>

namespace {

bool writeFile(const std::string& path, const std::string& text, std::ios::openmode mode = std::ios::trunc)
{
    std::ofstream file(path, std::ios::binary | mode);
    file << text;
    return static_cast<bool>(file.flush());
}

void put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void put32(std::string& out, unsigned value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// A "Z" on a blue ground, rows top down.
// clang-format off
const char* const kIconRows[32] = {
    "................................", "................................", "..############################..",
    "..############################..", "..###....................###...", "..........................###...",
    ".........................###....", "........................###.....", ".......................###......",
    "......................###.......", ".....................###........", "....................###.........",
    "...................###..........", "..................###...........", ".................###............",
    "................###.............", "...............###..............", "..............###...............",
    ".............###................", "............###.................", "...........###..................",
    "..........###...................", ".........###....................", "........###.....................",
    ".......###......................", "......###.......................", ".....###....................##..",
    "....###.....................##..", "..############################..", "..############################..",
    "................................", "................................",
};
// clang-format on

}  // namespace

bool writeDefinesFile(const std::string& path, const std::vector<std::string>& defines)
{
    std::string text = "#include \"ezelta.ch\"\n\r";
    for (const std::string& d : defines)
        text += "#define " + d + "\n\r";
    return writeFile(path, text);
}

std::string bitmapName(const std::string& path)
{
    std::string name = path.substr(path.find(':') == std::string::npos ? 0 : path.find(':') + 1);
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return upperCase(name);
}

tBitmapResult writeUserBitmaps(tBuildSettings& settings)
{
    std::ifstream list(settings.bitmapListFile, std::ios::binary);
    if (!list)
        return tBitmapResult::listMissing;
    bool palm = settings.target == tTarget::PALMOS;
    std::string script = withExtension(settings.sources.front(), palm ? "rcp" : "rc");
    std::ofstream out(script, std::ios::binary | std::ios::trunc);
    if (!out)
        return tBitmapResult::scriptNotCreated;
    std::string line;
    int id = 6000;
    auto flush = [&] {
        if (line.empty())
            return;
        if (palm)
            out << formatText("%s  %d\t\"%s\"\t\tCOMPRESS\n", settings.sdk == tSdk::PALM5 ? "BITMAPCOLOR " : "BITMAP ",
                              id, line.c_str());
        else
            out << formatText("%d    BITMAP  DISCARDABLE   %s \r\n", id, line.c_str());
        settings.defines.push_back(formatText(" %s    %d", bitmapName(line).c_str(), id));
        ++id;
        line.clear();
    };
    for (char c; list.get(c);) {
        if (c == '\r' || c == '\n')
            flush();
        else
            line += c;
    }
    flush();
    return out.flush() ? tBitmapResult::ok : tBitmapResult::scriptNotCreated;
}

bool writeDefaultIcon(const std::string& path)
{
    const unsigned kSize = 32, kPixels = kSize * kSize / 2, kMask = kSize * kSize / 8;
    const unsigned kImage = 40 + 16 * 4 + kPixels + kMask;
    std::string ico;
    put16(ico, 0), put16(ico, 1), put16(ico, 1);                       // icon file, one image
    ico += static_cast<char>(kSize), ico += static_cast<char>(kSize);  // width, height
    ico += static_cast<char>(16), ico += '\0';                         // colours, reserved
    put16(ico, 1), put16(ico, 4), put32(ico, kImage), put32(ico, 22);  // planes, bits, size, offset
    put32(ico, 40), put32(ico, kSize), put32(ico, kSize * 2);          // header; height counts the mask
    put16(ico, 1), put16(ico, 4), put32(ico, 0), put32(ico, kPixels + kMask);
    put32(ico, 0), put32(ico, 0), put32(ico, 16), put32(ico, 0);
    for (unsigned i = 0; i < 16; ++i) {  // palette: 0 blue ground, 15 white, the rest grey
        unsigned blue = i == 0 ? 0x80 : i == 15 ? 0xff : 0xc0;
        unsigned rg = i == 0 ? 0x20 : i == 15 ? 0xff : 0xc0;
        put32(ico, blue | rg << 8 | rg << 16);
    }
    for (int row = kSize - 1; row >= 0; --row)  // bottom-up, two pixels a byte
        for (unsigned x = 0; x < kSize; x += 2) {
            auto pixel = [&](unsigned col) { return kIconRows[row][col] == '#' ? 15u : 0u; };
            ico += static_cast<char>(pixel(x) << 4 | pixel(x + 1));
        }
    ico.append(kMask, '\0');  // fully opaque
    return writeFile(path, ico);
}

bool appendIconLine(const std::string& script, const std::string& icon)
{
    // Each entry ends its line, so that runs with -dirty keep a readable script.
    return writeFile(script, formatText("IDI_ICON1               ICON    DISCARDABLE     \"%s\"\r\n", icon.c_str()),
                     std::ios::app);
}

std::string palmAppName(const tBuildSettings& settings)
{
    if (!settings.appName.empty())
        return settings.appName;
    std::string name = lowerCase(splitPath(settings.sources.front()).name);
    if (!name.empty() && std::islower(static_cast<unsigned char>(name[0])))
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

bool writePalmDefinition(const tBuildSettings& settings, int sectionIndex, int contextCount)
{
    std::string creator = upperCase(settings.creatorId.empty() ? "ZELT" : settings.creatorId);
    std::string text = formatText("app { \"%s\" %s STACK=0x2000 }\r\n", palmAppName(settings).c_str(), creator.c_str());
    text +=
        "multiple code { \"seg_01\" \"seg_02\" \"seg_03\" \"seg_04\" \"seg_05\"  \"seg_06\" \"seg_07\"  \"seg_08\"  "
        "\"seg_09\" \"seg_10\" \"seg_11\" \"seg_12\" \"seg_13\" \"init_01\" ";
    for (int i = 1; i <= sectionIndex; ++i)
        text += formatText("\"usr_%03i\" ", i);
    for (int i = 1; i <= settings.contextBase + contextCount; ++i)
        text += formatText("\"ctx_%03i\" ", i);
    text += "}\r\n";
    return writeFile(withExtension(settings.sources.front(), "def"), text);
}
