#include "PluginLoader.h"

#include <dlfcn.h>
#include <elf.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "VendorIspSim.h"

uint32_t wordAt(const void* p_pBase, size_t p_nOffset) {
    const uint8_t* p = static_cast<const uint8_t*>(p_pBase) + p_nOffset;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t halfAt(const void* p_pBase, size_t p_nOffset) {
    const uint8_t* p = static_cast<const uint8_t*>(p_pBase) + p_nOffset;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint8_t byteAt(const void* p_pBase, size_t p_nOffset) {
    return static_cast<const uint8_t*>(p_pBase)[p_nOffset];
}

const void* pointerAt(const void* p_pBase, size_t p_nOffset) {
    uint64_t nAddress =
        static_cast<uint64_t>(wordAt(p_pBase, p_nOffset + 4)) << 32 | wordAt(p_pBase, p_nOffset);
    return reinterpret_cast<const void*>(static_cast<uintptr_t>(nAddress));
}

namespace {

template <typename Fn>
Fn functionAt(const void* p_pBase, size_t p_nOffset) {
    const void* pFunction = pointerAt(p_pBase, p_nOffset);
    EXPECT_NE(nullptr, pFunction) << "no function at offset " << p_nOffset;
    return reinterpret_cast<Fn>(const_cast<void*>(pFunction));
}

}  // namespace

LoadedPlugin::LoadedPlugin(Sensor p_eSensor, const char* p_szFile, const char* p_szIpipe)
    : m_eSensor(p_eSensor),
      m_strFile(p_szFile),
      m_szIpipe(p_szIpipe),
      m_pHandle(dlopen(p_szFile, RTLD_NOW | RTLD_LOCAL)) {}

const LoadedPlugin& LoadedPlugin::of(Sensor p_eSensor) {
    static const LoadedPlugin* s_apPlugins[] = {
        new LoadedPlugin(Sensor::Pmd2041Z5, PLUGIN_PMD2041_Z5_FILE, "gst_pmd2041_z5_ipipe"),
        new LoadedPlugin(Sensor::Imx675Slave, PLUGIN_IMX675_SLAVE_FILE, "gst_imx675_slave_ipipe"),
        new LoadedPlugin(Sensor::Imx678, PLUGIN_IMX678_FILE, "gst_imx678_ipipe"),
    };
    const LoadedPlugin& objPlugin = *s_apPlugins[static_cast<int>(p_eSensor)];
    if (!objPlugin.m_pHandle) ADD_FAILURE() << "cannot load " << objPlugin.m_strFile;
    return objPlugin;
}

const void* LoadedPlugin::symbol(const char* p_szName) const {
    if (!m_pHandle) return nullptr;
    const void* pSymbol = dlsym(m_pHandle, p_szName);
    if (!pSymbol) ADD_FAILURE() << m_strFile << " does not export " << p_szName;
    return pSymbol;
}

int LoadedPlugin::callSlot(size_t p_nOffset) const {
    return functionAt<int (*)()>(descriptor(), p_nOffset)();
}

int LoadedPlugin::identity(char* p_szChip, char* p_szSensor, char* p_szVersion,
                           char* p_szBuild) const {
    using Fn = int (*)(char*, char*, char*, char*);
    return functionAt<Fn>(descriptor(), 32)(p_szChip, p_szSensor, p_szVersion, p_szBuild);
}

int LoadedPlugin::match(const char* p_szChip, const char* p_szVersion) const {
    return functionAt<int (*)(const char*, const char*)>(descriptor(), 40)(p_szChip, p_szVersion);
}

int LoadedPlugin::setFrameRate(uint32_t p_nFirst, uint32_t p_nSecond, uint32_t p_nRate,
                               uint32_t p_nMode) const {
    using Fn = int (*)(uint32_t, uint32_t, uint32_t, uint32_t);
    return functionAt<Fn>(descriptor(), 48)(p_nFirst, p_nSecond, p_nRate, p_nMode);
}

int LoadedPlugin::setHdr(int p_nPipe, int p_nStrength) const {
    return functionAt<int (*)(int, int)>(ipipe(), 112)(p_nPipe, p_nStrength);
}

int LoadedPlugin::pipeGet(int p_nChannel) const {
    return functionAt<int (*)(int)>(ipipe(), 120)(p_nChannel);
}

int LoadedPlugin::defogSet(int p_nChannel, uint32_t p_nStrength) const {
    return functionAt<int (*)(int, uint32_t)>(ipipe(), 128)(p_nChannel, p_nStrength);
}

std::map<std::string, ElfSymbol> exportedSymbols(const std::string& p_strFile) {
    std::ifstream in(p_strFile, std::ios::binary);
    std::vector<char> vecFile((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    std::map<std::string, ElfSymbol> mapSymbols;
    if (vecFile.size() < sizeof(Elf64_Ehdr)) return mapSymbols;
    const char* pFile = vecFile.data();
    const Elf64_Ehdr* pHeader = reinterpret_cast<const Elf64_Ehdr*>(pFile);
    const Elf64_Shdr* pSections = reinterpret_cast<const Elf64_Shdr*>(pFile + pHeader->e_shoff);
    for (int i = 0; i < pHeader->e_shnum; ++i) {
        if (pSections[i].sh_type != SHT_DYNSYM) continue;
        const Elf64_Sym* pSyms = reinterpret_cast<const Elf64_Sym*>(pFile + pSections[i].sh_offset);
        const char* pNames = pFile + pSections[pSections[i].sh_link].sh_offset;
        for (size_t k = 0; k < pSections[i].sh_size / sizeof(Elf64_Sym); ++k) {
            const Elf64_Sym& stSym = pSyms[k];
            int nBind = ELF64_ST_BIND(stSym.st_info);
            if (stSym.st_shndx == SHN_UNDEF || (nBind != STB_GLOBAL && nBind != STB_WEAK)) continue;
            mapSymbols[pNames + stSym.st_name] = {ELF64_ST_TYPE(stSym.st_info) == STT_FUNC,
                                                  stSym.st_size};
        }
    }
    return mapSymbols;
}

void PluginTest::SetUp() {
    vendorsim::reset();
}

void PrintTo(Sensor p_eSensor, std::ostream* p_pOut) {
    const char* kNames[] = {"Pmd2041Z5", "Imx675Slave", "Imx678"};
    *p_pOut << kNames[static_cast<int>(p_eSensor)];
}
