// Module images: the format, the checks on untrusted images, and linking.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstring>

#include "runtime/host/module_image.h"

using namespace tarsk;

namespace {

int32_t field(const LinkResult& r, int32_t offset) {
    int32_t value;
    std::memcpy(&value, static_cast<uint8_t*>(r.base) + offset, 4);
    return value;
}

ModuleImage sampleImage() {
    ModuleImage image;
    image.code.assign(64, 0);
    int32_t addend = -4;
    std::memcpy(image.code.data() + 8, &addend, 4);
    int32_t eight = 8;
    std::memcpy(image.code.data() + 16, &eight, 4);
    image.defined = {{"__MAIN", 0}, {"_vdata", 32}};
    image.relative = {{"_vdata", 8}, {"_fruntime", 12}};
    image.absolute = {{"_vdata", 16}, {"_fruntime", 20}};
    return image;
}

LinkResult link(const ModuleImage& image, const SymbolTable& runtime) {
    return loadModuleImage(serializeImage(image), runtime);
}

void release(LinkResult& r) {
    if (r.base) munmap(r.base, r.size);
}

}  // namespace

TEST(ModuleImage, SerializeAndParseRoundTrip) {
    ModuleImage image = sampleImage(), parsed;
    ASSERT_TRUE(parseImage(serializeImage(image), parsed));
    EXPECT_EQ(parsed.code, image.code);
    ASSERT_EQ(parsed.relative.size(), 2u);
    EXPECT_EQ(parsed.relative[1].name, "_fruntime");
    EXPECT_EQ(parsed.absolute[0].offset, 16);
}

TEST(ModuleImage, RelocationsPatchDisplacementsAndAddresses) {
    SymbolTable runtime{{"_fruntime", 0x1000}};
    LinkResult r = link(sampleImage(), runtime);
    ASSERT_EQ(r.status, LinkStatus::Linked);
    auto base = int64_t(reinterpret_cast<uintptr_t>(r.base));
    EXPECT_LT(base, int64_t(1) << 31);
    EXPECT_EQ(field(r, 8), int32_t(base + 32 - (base + 8) - 4));  // module symbol, addend -4
    EXPECT_EQ(field(r, 12), int32_t(0x1000 - (base + 12)));
    EXPECT_EQ(field(r, 16), int32_t(base + 32 + 8));
    EXPECT_EQ(field(r, 20), 0x1000);
    release(r);
}

TEST(ModuleImage, ModuleSymbolsWinAndMissingOnesAreNamed) {
    ModuleImage image = sampleImage();
    image.defined.push_back({"_fruntime", 40});
    LinkResult r = link(image, SymbolTable{{"_fruntime", 0x1000}});
    ASSERT_EQ(r.status, LinkStatus::Linked);
    EXPECT_EQ(field(r, 20), int32_t(reinterpret_cast<uintptr_t>(r.base)) + 40);
    release(r);

    LinkResult missing = link(sampleImage(), SymbolTable{});
    EXPECT_EQ(missing.status, LinkStatus::MissingSymbol);
    EXPECT_EQ(linkFailureMessage(missing), "Can't find symbol: _fruntime");
    release(missing);
}

TEST(ModuleImage, DefinedSymbolMustLieInsideTheCode) {
    SymbolTable runtime{{"_fruntime", 0x1000}};
    for (auto [offset, accepted] : {std::pair{63, true}, {64, false}, {-1, false}}) {
        ModuleImage image = sampleImage();
        image.defined.push_back({"_vedge", offset});
        LinkResult r = link(image, runtime);
        EXPECT_EQ(r.status == LinkStatus::Linked, accepted) << offset;
        if (!accepted) {
            EXPECT_EQ(linkFailureMessage(r), "Unable to run Tarsk Basic module");
        }
        release(r);
    }
}

TEST(ModuleImage, DamagedImagesAreRefusedNeverRead) {
    SymbolTable runtime{{"_fruntime", 0x1000}};
    std::vector<uint8_t> bytes = serializeImage(sampleImage());
    // Every truncation, and every relocation field pushed past the end of the code.
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(length));
        LinkResult r = loadModuleImage(cut, runtime);
        EXPECT_EQ(r.status, LinkStatus::BadImage) << length;
        release(r);
    }
    for (int32_t offset : {61, 64, -4, 0x7fffffff}) {
        ModuleImage image = sampleImage();
        image.absolute.push_back({"_vdata", offset});
        LinkResult r = link(image, runtime);
        EXPECT_EQ(r.status, LinkStatus::BadImage) << offset;
        release(r);
    }
    std::vector<uint8_t> huge = bytes;
    int32_t count = 0x7fffffff;
    std::memcpy(huge.data(), &count, 4);  // code size beyond the data
    EXPECT_EQ(loadModuleImage(huge, runtime).status, LinkStatus::BadImage);
}
