// A machine with fixed answers for evaluation tests, counting what was asked.
#pragma once

#include "engine/machine_probe.h"

#include <cstdint>
#include <string>
#include <vector>

class FakeMachine : public IMachineProbe {
public:
    std::vector<VideoControllerRow> controllers;
    std::wstring caption = L"Microsoft Windows 10 Pro";
    int addressWidth = 64;
    int64_t memoryBytes = 16LL << 30;
    bool wow64 = false;
    std::wstring brand = L"Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz";
    bool portable = false;
    bool standaloneSteamVr = false;
    bool steam = false;
    bool steamVrInSteam = false;

    // The order in which the evaluation asked its questions.
    std::vector<std::string> calls;
    std::wstring askedAppId;
    bool askedRequireNotUpdating = true;

    std::vector<VideoControllerRow> VideoControllers() override {
        calls.push_back("VideoControllers");
        return controllers;
    }
    void QueryOsCpuMemory(std::wstring& c, int& width, int64_t& bytes) override {
        calls.push_back("QueryOsCpuMemory");
        c = caption;
        width = addressWidth;
        bytes = memoryBytes;
    }
    bool IsWow64() override {
        calls.push_back("IsWow64");
        return wow64;
    }
    std::wstring CpuBrandString() override {
        calls.push_back("CpuBrandString");
        return brand;
    }
    bool IsPortablePc() override {
        calls.push_back("IsPortablePc");
        return portable;
    }
    bool FindStandaloneSteamVr() override {
        calls.push_back("FindStandaloneSteamVr");
        return standaloneSteamVr;
    }
    bool FindSteam() override {
        calls.push_back("FindSteam");
        return steam;
    }
    bool IsSteamAppInstalled(const std::wstring& appId, bool requireNotUpdating) override {
        calls.push_back("IsSteamAppInstalled");
        askedAppId = appId;
        askedRequireNotUpdating = requireNotUpdating;
        return steamVrInSteam;
    }
};
