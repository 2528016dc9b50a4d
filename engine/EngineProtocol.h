#pragma once

// What the workbench and the engine program agree on: how the engine is started, the names
// of the run files and the two records that pass over the inherited socket for every result
// step. Plain C++ so that both sides include it; records are little-endian 32-bit fields.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SEngineNotification {
    int32_t nMessage = 0;
    int32_t nWParam = 0; // highest node number that temp.dat of this step may hold
    int32_t nLParam = 0; // not used, always 0
};

class CEngineProtocol {
public:
    static constexpr int32_t kResultMessage = 1025;
    static constexpr int32_t kAnswerContinue = 1;
    static constexpr int32_t kAnswerStop = 0;
    static constexpr std::size_t kNotificationSize = 12;
    static constexpr std::size_t kAnswerSize = 4;

    static constexpr const char* kProgramName = "engine";
    static constexpr const char* kNetlistFile = "kest.cir";
    static constexpr const char* kVoltageFile = "temp.dat";
    static constexpr const char* kCurrentFile = "amp.dat";

    // Options that may follow the three fixed arguments.
    static constexpr const char* kFastOption = "--fast"; // no pacing: batch runs, benchmarks
    static constexpr const char* kRateOption = "--rate"; // --rate N: N result steps per second
    static constexpr const char* kVerboseOption = "--verbose"; // echo ngspice's output to stderr
    static constexpr int kDefaultRate = 100;

    using NotificationBytes = std::array<unsigned char, kNotificationSize>;
    using AnswerBytes = std::array<unsigned char, kAnswerSize>;

    // The arguments after the program path: "1", the socket descriptor, the run folder.
    static std::vector<std::string> EngineArguments(int nSocketFd,
                                                    const std::string& strRunFolder) {
        return {"1", std::to_string(nSocketFd), strRunFolder};
    }

    static NotificationBytes EncodeNotification(int32_t nWParam) {
        NotificationBytes bytes{};
        PutInt32(bytes.data(), kResultMessage);
        PutInt32(bytes.data() + 4, nWParam);
        PutInt32(bytes.data() + 8, 0);
        return bytes;
    }

    static SEngineNotification DecodeNotification(const NotificationBytes& bytes) {
        SEngineNotification note;
        note.nMessage = GetInt32(bytes.data());
        note.nWParam = GetInt32(bytes.data() + 4);
        note.nLParam = GetInt32(bytes.data() + 8);
        return note;
    }

    static AnswerBytes EncodeAnswer(int32_t nAnswer) {
        AnswerBytes bytes{};
        PutInt32(bytes.data(), nAnswer);
        return bytes;
    }

    static int32_t DecodeAnswer(const AnswerBytes& bytes) { return GetInt32(bytes.data()); }

    static void PutInt32(unsigned char* p, int32_t nValue) {
        const auto u = static_cast<uint32_t>(nValue);
        p[0] = static_cast<unsigned char>(u & 0xFFu);
        p[1] = static_cast<unsigned char>((u >> 8) & 0xFFu);
        p[2] = static_cast<unsigned char>((u >> 16) & 0xFFu);
        p[3] = static_cast<unsigned char>((u >> 24) & 0xFFu);
    }

    static int32_t GetInt32(const unsigned char* p) {
        const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                           (static_cast<uint32_t>(p[2]) << 16) |
                           (static_cast<uint32_t>(p[3]) << 24);
        return static_cast<int32_t>(u);
    }
};
