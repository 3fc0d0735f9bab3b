// Writers of the Palm resource files. The string tables come from the
// run-time's message tables (runtime/core/messages.h), compiled into the
// compiler as well, so their order and count cannot drift from what the
// run-time shows on the other targets.
#include "resources_palm.h"

#include "messages.h"
#include "paths.h"

#include "../../runtime/core/messages.h"

#include <fstream>

namespace {

const char* const kArrowLeft[] = {"---------#", "-------###", "-----#####", "---#######", "-#########",
                                  "##########", "--########", "----######", "------####", "--------##"};
const char* const kArrowRight[] = {"##--------", "####------", "######----", "########--", "##########",
                                   "#########-", "#######---", "#####-----", "###-------", "#---------"};

// clang-format off
const char* const kIconRows[] = {
    "----------------------", "-----#------#######---", "----##-------##---##--", "----##-------##----##-",
    "---#-####----##----##-", "---#-##--##--##---##--", "--#---##-#-########---", "--######--#--###------",
    "--#---###--####-#-----", "-#-----##----##--#----", "-#-----##----###--#---", "###---#####-#####--#--",
    "---##########----#--#-", "---#-------#-----#--#-", "---#------#------#--#-", "---#-------##----#--#-",
    "----#--------####---#-", "----#--------------#--", "----#--##---------#---", "-----##--###----##----",
    "-----#------####------", "----------------------",
};
// clang-format on

// A define padded with tabs to a fixed column (tab stops every 4), as the
// resource header lines up its values.
std::string definePadded(const char* name)
{
    std::string line = std::string("#define ") + name;
    std::size_t column = line.size();
    do {
        line += '\t';
        column = (column / 4 + 1) * 4;
    } while (column < 32);
    return line;
}

// The body of a double-quoted script text: quotes and line ends escaped.
std::string quotedBody(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

std::string stringTable(const char* name, int count, const char* (*text)(int language, int index), int language)
{
    std::string out = formatText("STRINGTABLE %s\n", name);
    out += "\"\" ";
    for (int i = 0; i < count; ++i)
        out += "\"" + quotedBody(latin1Text(text(language, i))) + "\"\n";
    return out;
}

std::string pictureText(const char* const* rows, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += std::string(rows[i]) + "\n";
    return out;
}

bool writeText(const std::string& path, const std::string& text, std::ios::openmode mode = std::ios::trunc)
{
    std::ofstream file(path, std::ios::binary | mode);
    file << text;
    return static_cast<bool>(file.flush());
}

}  // namespace

// clang-format off
const tPalmBitmap kPalmBitmaps[] = {
    {"BITMAP_LEFT", 3003, "Left.bmp"},          {"BITMAP_RIGHT", 3004, "Right.bmp"},
    {"BITMAP_UP", 3005, "Up.bmp"},              {"BITMAP_DOWN", 3006, "Down.bmp"},
    {"BITMAP_TOP", 3007, "top.bmp"},            {"BITMAP_BOT", 3008, "bottom.bmp"},
    {"BITMAP_PLUS", 3009, "Mais.bmp"},          {"BITMAP_MINUS", 3016, "Menos.bmp"},
    {"BITMAP_CANCEL", 3018, "Cancel.bmp"},      {"BITMAP_SEARCH", 3019, "Search.bmp"},
    {"BITMAP_EXIT", 3020, "Exit.bmp"},          {"BITMAP_NONE", 3257, "Exit.bmp"},
    {"BITMAP_GEOROTA", 3038, "GeoRota.bmp"},    {"BITMAP_APONTA", 3021, "APONTA.bmp"},
    {"BITMAP_BUDGETY", 3022, "BUDGETY.bmp"},    {"BITMAP_CALENDAR", 3023, "CALENDAR.bmp"},
    {"BITMAP_CUSCLI", 3024, "CUSCLI.bmp"},      {"BITMAP_GRAFICO", 3025, "GRAFICO.bmp"},
    {"BITMAP_GRAVAR", 3026, "GRAVAR.bmp"},      {"BITMAP_HELP", 3027, "HELP.bmp"},
    {"BITMAP_INFOCLI", 3028, "INFOCLI.bmp"},    {"BITMAP_NOVO", 3029, "NOVO.bmp"},
    {"BITMAP_TIMER", 3030, "TIMER.bmp"},        {"BITMAP_VALOR", 3031, "VALOR.bmp"},
    {"BITMAP_OK", 3032, "OK.bmp"},              {"BITMAP_NOK", 3033, "NOK.bmp"},
    {"BITMAP_SYNC", 3034, "vaskosync.bmp"},     {"BITMAP_HISTORY", 3043, "history.bmp"},
    {"BITMAP_PRINTER", 3042, "printer.bmp"},    {"BITMAP_LOCK", 3041, "lock.bmp"},
    {"BITMAP_LIXO", 3040, "trash.bmp"},         {"BITMAP_FILTER", 3037, "filter.bmp"},
    {"BITMAP_FLAGGREEN", 3035, "flaggreen.bmp"}, {"BITMAP_FLAGRED", 3036, "flagred.bmp"},
    {"BITMAP_BRASIL", 3044, "Brasil.bmp"},      {"BITMAP_CAKE", 3045, "Cake.bmp"},
    {"BITMAP_CLIP", 3046, "Clip.bmp"},          {"BITMAP_CLIPS", 3047, "Clips.bmp"},
    {"BITMAP_ERROR", 3048, "Error.bmp"},        {"BITMAP_EXCLAMA", 3039, "exclama.bmp"},
    {"BITMAP_EXCLAMATION", 3049, "Exclamation.bmp"}, {"BITMAP_INFO", 3051, "Info.bmp"},
    {"BITMAP_INFO2", 3052, "Info2.bmp"},        {"BITMAP_LAMP", 3053, "Lamp.bmp"},
    {"BITMAP_MAIL", 3054, "Mail.bmp"},          {"BITMAP_MISC01", 3055, "Misc01.bmp"},
    {"BITMAP_MISC02", 3056, "Misc02.bmp"},      {"BITMAP_MISC03", 3057, "Misc03.bmp"},
    {"BITMAP_QUESTION", 3058, "Question.bmp"},  {"BITMAP_SPAIN", 3059, "Spain.bmp"},
    {"BITMAP_STOP", 3060, "Stop.bmp"},          {"BITMAP_TOOLS", 3061, "tools.bmp"},
    {"BITMAP_TRAFFIC01", 3062, "Traffic01.bmp"}, {"BITMAP_TRAFFIC02", 3063, "Traffic02.bmp"},
    {"BITMAP_TRAFFIC03", 3064, "Traffic03.bmp"}, {"BITMAP_TRAFFIC04", 3065, "Traffic04.bmp"},
    {"BITMAP_USA", 3066, "Usa.bmp"},            {"BITMAP_UPDATE", 3050, "update.bmp"},
    {"BITMAP_FAIL", 3500, "fail.bmp"},
};
// clang-format on
const int kPalmBitmapCount = sizeof kPalmBitmaps / sizeof kPalmBitmaps[0];

std::string latin1Text(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned char next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((c == 0xC2 || c == 0xC3) && next >= 0x80 && next <= 0xBF) {
            out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string palmScriptPath(const tBuildSettings& settings) { return withExtension(settings.sources.front(), "rcp"); }

std::string palmIncludeText()
{
    std::string out =
        "#define RomIncompatibleAlert\t1001\n"
        "#define RomIncompatibleOK 0\n"
        "#define ErrorAlert\t\t\t\t1000\n"
        "#define ErrorOK 0\n"
        "#define passFont\t\t\t\t1000\n"
        "#define symbolFont\t\t\t\t1001\n"
        "#define  bitmapRight\t\t\t5500\n"
        "#define  bitmapLeft\t\t\t\t5501\n"
        "#define stringDayOfWeek\t\t\t1100\n"
        "#define stringMonth\t\t\t\t1200\n"
        "#define stringErros \t\t\t1300\n"
        "#define stringMsgErros\t\t\t1900\n"
        "#define stringMsgErrosEng\t\t1910\n"
        "#define stringMsgErrosSpa\t\t1920\n"
        "#define stringMsgSync\t\t\t1930\n"
        "#define stringMsgSyncEng\t\t1940\n"
        "#define stringMsgSyncSpa\t\t1950\n";
    // The numbered run 3003 to 3066 in id order; FAIL and NONE, outside it, last.
    for (int id = 3003; id <= 3066; ++id)
        for (int i = 0; i < kPalmBitmapCount; ++i)
            if (kPalmBitmaps[i].id == id)
                out += definePadded(kPalmBitmaps[i].name) + formatText("%d\n", id);
    out += "#define BITMAP_FAIL\t\t\t\t3500\n";
    out += "#define BITMAP_NONE\t\t\t\t3257\n";
    return out;
}

std::string palmFontText()
{
    std::string out =
        "fontType\t36864\nmaxWidth\t10\nkernMax\t\t0\nnDescent\t0\nfRectWidth\t10\nfRectHeight 8\nascent\t\t8\n"
        "descent\t\t2\nleading\t\t0\n";
    for (int glyph = 0; glyph < 256; ++glyph)
        out += formatText("GLYPH %i\n", glyph) + "---\n---\n##-\n##-\n##-\n##-\n---\n---\n";
    return out;
}

std::string palmScriptText(const tBuildSettings& settings)
{
    const std::string name = splitPath(settings.sources.front()).name;
    std::string out = "#include \"resincl.h\"\n\n";
    out += "FONT ID passFont FONTID 128 \"passfont.pfn\"\n\n";
    out +=
        "ALERT ID ErrorAlert\nCONFIRMATION\nBEGIN\n  TITLE \"Alert\"\n  MESSAGE \"^1^2^3\"\n  BUTTONS \"Ok\"\nEND\n\n";
    out += "ALERT ID RomIncompatibleAlert\nCONFIRMATION\nBEGIN\n  TITLE \"zelta\"\n  MESSAGE \"" +
           latin1Text("Versão de ROM Incorreta!") + "\"\n  BUTTONS \"Ok\"\nEND\n\n";
    if (!settings.iconFile.empty())
        out += formatText("ICON \n BEGIN \n    BITMAP \"%s\" BPP 16  COMPRESS DENSITY 1\n END \n",
                          settings.iconFile.c_str());
    else
        out += formatText("ICON \"%s.pbitm\"\n", name.c_str());
    out += "BITMAP bitmapRight \"right.pbitm\" COMPRESS\n";
    out += "BITMAP bitmapLeft \"left.pbitm\" COMPRESS\n";
    out += formatText("LAUNCHERCATEGORY ID 1000 \"%s\" \n", quotedBody(settings.category).c_str());

    const char* const errorTables[] = {"stringMsgErros", "stringMsgErrosEng", "stringMsgErrosSpa"};
    const char* const syncTables[] = {"stringMsgSync", "stringMsgSyncEng", "stringMsgSyncSpa"};
    for (int language = 1; language <= 3; ++language)
        out += stringTable(errorTables[language - 1], core::kAuxMessageCount, core::auxMessage, language);
    for (int language = 1; language <= 3; ++language)
        out += stringTable(syncTables[language - 1], core::kSyncMessageCount, core::syncMessage, language);

    out += "\nSTRINGTABLE stringDayOfWeek\n";
    out += latin1Text(
        "\"\"  \"Domingo\" \"Segunda-Feira\" \"Terça-Feira\" \"Quarta-Feira\" \"Quinta-Feira\" "
        "\"Sexta-Feira\" \"Sábado\"\n");
    out += "STRINGTABLE stringMonth\n";
    out += latin1Text(
        "\"\" \"Janeiro\" \"Fevereiro\" \"Março\" \"Abril\" \"Maio\" \"Junho\" \"Julho\" \"Agosto\" "
        "\"Setembro\" \"Outubro\" \"Novembro\" \"Dezembro\"\n");
    out += stringTable(
        "stringErros", core::kErrorNameCount, [](int, int code) { return core::errorName(code); }, 1);

    std::string dir = settings.installDir;
    for (char& c : dir)
        if (c == '\\')
            c = '/';
    const char* kind = settings.sdk == tSdk::PALM5 ? "BITMAPCOLOR " : "BITMAP ";
    for (int i = 0; i < kPalmBitmapCount; ++i)
        out += formatText("%s  %s\t\"%s%cbmp%c%s\"\t\tCOMPRESS\n", kind, kPalmBitmaps[i].name, dir.c_str(), '/', '/',
                          kPalmBitmaps[i].file);
    return out;
}

std::string palmArrowText(bool left) { return pictureText(left ? kArrowLeft : kArrowRight, 10); }

std::string palmDefaultIconText() { return pictureText(kIconRows, 22); }

std::string writePalmResourceFiles(const tBuildSettings& settings)
{
    if (!writeText("resincl.h", palmIncludeText()))
        return "resincl.h";
    if (!writeText("passfont.pfn", palmFontText()))
        return "passfont.pfn";
    // After the user bitmaps when the script holds them already.
    const std::string script = palmScriptPath(settings);
    if (!writeText(script, palmScriptText(settings), std::ios::app))
        return script;
    if (!writeText("left.pbitm", palmArrowText(true)))
        return "left.pbitm";
    if (!writeText("right.pbitm", palmArrowText(false)))
        return "right.pbitm";
    const std::string icon = splitPath(settings.sources.front()).name + ".pbitm";
    if (settings.iconFile.empty() && !writeText(icon, palmDefaultIconText()))
        return icon;
    return "";
}
