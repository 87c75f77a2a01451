// A fresh headless backend for each test, with an observer that records.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"

struct Recorder : headless::Observer {
    std::vector<std::string> log;
    std::vector<std::vector<uint8_t>> shots;
    void OnFlip(uint32_t ms, uint32_t n) override {
        log.push_back("flip " + std::to_string(ms) + " " + std::to_string(n));
    }
    void OnText(uint32_t ms, bool primary, int32_t x, int32_t y, const char* text,
                uint8_t index) override {
        log.push_back("text " + std::to_string(ms) + (primary ? " primary " : " back ") +
                      std::to_string(x) + "," + std::to_string(y) + " " + text + " " +
                      std::to_string(index));
    }
    void OnSound(uint32_t ms, bool play, const char* name, bool loop) override {
        log.push_back(std::string(play ? "play " : "stop ") + std::to_string(ms) + " " + name +
                      (loop ? " loop" : ""));
    }
    void OnPalette(uint32_t ms, const uint8_t* entries) override {
        log.push_back("palette " + std::to_string(ms) + " " + std::to_string(entries[4]));
    }
    void OnSleep(uint32_t ms, uint32_t sleepMs) override {
        log.push_back("sleep " + std::to_string(ms) + " " + std::to_string(sleepMs));
    }
    void OnShot(uint32_t ms, const std::string& name, const uint8_t* pixels, int32_t width,
                int32_t height, const uint8_t*) override {
        log.push_back("shot " + std::to_string(ms) + " " + name + " " + std::to_string(width) +
                      "x" + std::to_string(height));
        shots.emplace_back(pixels, pixels + width * height);
    }
    void OnUntil(uint32_t ms) override { log.push_back("until " + std::to_string(ms)); }
};

class Headless : public ::testing::Test {
protected:
    void Start(const std::string& script = "", headless::Options options = {}) {
        options.scriptText = script;
        std::string error;
        ASSERT_TRUE(headless::Configure(options, &error)) << error;
        headless::SetObserver(&recorder);
    }
    void SetUp() override { Start(); }
    void TearDown() override { headless::SetObserver(nullptr); }
    Recorder recorder;
};
