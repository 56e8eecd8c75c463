#include <gtest/gtest.h>

#include <map>

#include "runtime/host/registry.h"
#include "runtime/host/runtime_interface.h"

TEST(LinkNames, DerivedFromSignatures) {
    const std::pair<const char*, const char*> cases[] = {
        {"%LoadTexture$file%flags=1", "_floadtexture"},
        {"End", "_fend"},
        {"Graphics3D%width%height%depth=0%mode=0", "_fgraphics3d"},
        {"$CommandLine", "_fcommandline"},
        {"_tbObjNew", "__tbObjNew"},
        {"_tbStrLoad", "__tbStrLoad"},
        {"!%LoadTexture$file%flags=1", "_floadtexture"},
        {"#Rnd#from#to=0", "_frnd"},
        {"AppTitle$title$close_prompt=\"\"", "_fapptitle"},
        {"Entity_Name%x", "_fentity_name"},
    };
    for (auto [signature, expected] : cases) EXPECT_EQ(tarsk::linkName(signature), expected) << signature;
}

TEST(LinkNames, EveryRegistrationHasItsOwnLinkName) {
    std::map<std::string, std::string> seen;
    for (const tarsk::Registration& r : tarsk::allRegistrations()) {
        auto [at, inserted] = seen.emplace(tarsk::linkName(r.signature), r.signature);
        EXPECT_TRUE(inserted) << r.signature << " and " << at->second;
        EXPECT_NE(r.address, nullptr) << r.signature;
    }
    EXPECT_GE(seen.size(), 18u);
}

TEST(RuntimeInterface, WalksEveryRegistrationThenStartsAgain) {
    tarsk::tbRuntime* runtime = runtimeGetRuntime();
    EXPECT_EQ(runtime->interfaceVersion(), 66642);
    size_t expected = tarsk::allRegistrations().size();
    for (int round = 0; round < 2; ++round) {
        size_t count = 0;
        while (const char* signature = runtime->nextSymbol()) {
            EXPECT_NE(runtime->symbolAddress(signature), -1) << signature;
            ++count;
        }
        EXPECT_EQ(count, expected);
    }
    EXPECT_EQ(runtime->symbolAddress("End"), -1);  // keyed by the registered text itself, not a copy
}
