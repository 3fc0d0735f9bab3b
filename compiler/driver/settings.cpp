// Small questions about the build settings that several phases ask.
#include "settings.h"

bool isDesktopTarget(tTarget target)
{
    return target == tTarget::WIN32EXE || target == tTarget::WIN32DLL || target == tTarget::GCCDEBUG;
}

const char* cpuName(tCpu cpu)
{
    switch (cpu) {
    case tCpu::SH3: return "SH3";
    case tCpu::ARM: return "ARM";
    case tCpu::MIPS: return "MIPS";
    case tCpu::x86: return "x86";
    case tCpu::ARMV4: return "ARMV4";
    case tCpu::ARMV4ISRT: return "ARMV4ISRT";
    case tCpu::ARMV4IPPC: return "ARMV4IPPC";
    case tCpu::ARMV4ISTD: return "ARMV4ISTD";
    case tCpu::ARMV4IPRO: return "ARMV4IPRO";
    }
    return "";
}

const std::string& baseDirectory(const tBuildSettings& settings)
{
    return isDesktopTarget(settings.target) ? settings.desktopInstallDir : settings.installDir;
}
