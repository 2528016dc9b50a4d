#include "EngineHarness.h"
#include "EngineOptions.h"
#include "EngineProtocol.h"
#include "NetlistInput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

using EStatus = CEngineHarness::EStatus;

const std::vector<std::string> kWorkedExample1 = {"V3 0 3 3.000000", "R4 0 2 1.000000e+000",
                                                  "R5 2 3 2.000000e+001"};
const std::vector<std::string> kWorkedExample2 = {"V3 0 3 3.000000", "R5 2 3 1.000000e+000",
                                                  "V4 0 2 0.000000"};

class EngineTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HasFailure())
            std::cerr << "---- engine log ----\n" << m_engine.Log() << "--------------------\n";
    }

    // Starts the engine on the netlist and takes the first notification.
    void StartOn(const std::string& strNetlist,
                 const std::vector<std::string>& options = {"--fast"}) {
        m_engine.WriteNetlist(strNetlist);
        ASSERT_TRUE(m_engine.Start(options));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
        ASSERT_EQ(m_note.nMessage, CEngineProtocol::kResultMessage);
        ASSERT_EQ(m_note.nLParam, 0);
    }

    double Current(const std::string& strName) {
        std::vector<std::pair<std::string, double>> currents;
        EXPECT_TRUE(m_engine.ReadCurrents(currents)) << m_engine.ReadRunFile("amp.dat");
        for (const auto& [strFound, fAmps] : currents) {
            if (strFound == strName)
                return fAmps;
        }
        ADD_FAILURE() << strName << " not in amp.dat:\n" << m_engine.ReadRunFile("amp.dat");
        return NAN;
    }

    // Answers 0 and expects the engine to end without another notification.
    void StopAndExpectExit() {
        ASSERT_TRUE(m_engine.Answer(0));
        SEngineNotification note;
        EXPECT_EQ(m_engine.ReadNotification(note), EStatus::EndOfFile);
        EXPECT_EQ(m_engine.WaitExit(), 0);
    }

    CEngineHarness m_engine;
    SEngineNotification m_note;
};

TEST(EngineEnvironment, NgspiceAndItsCodeModelsAreInstalled) {
    // The engine starts ngspice with its init script, which loads the code models; a machine
    // without them must fail here rather than skip the engine's tests.
    for (const char* pszPath :
         {"/usr/share/ngspice/scripts/spinit", "/usr/lib/x86_64-linux-gnu/ngspice/analog.cm",
          "/usr/lib/x86_64-linux-gnu/ngspice/spice2poly.cm"})
        EXPECT_TRUE(std::filesystem::exists(pszPath)) << pszPath << " is missing: install ngspice";
}

TEST(EngineProtocol, RecordsAreLittleEndianFieldByField) {
    const auto note = CEngineProtocol::EncodeNotification(0x01020304);
    const CEngineProtocol::NotificationBytes expected = {0x01, 0x04, 0, 0, 0x04, 0x03,
                                                         0x02, 0x01, 0, 0, 0,    0};
    EXPECT_EQ(note, expected);
    const SEngineNotification decoded = CEngineProtocol::DecodeNotification(note);
    EXPECT_EQ(decoded.nMessage, 1025);
    EXPECT_EQ(decoded.nWParam, 0x01020304);
    EXPECT_EQ(decoded.nLParam, 0);
    EXPECT_EQ(CEngineProtocol::DecodeAnswer(CEngineProtocol::EncodeAnswer(-2)), -2);
    const CEngineProtocol::AnswerBytes one = {1, 0, 0, 0};
    EXPECT_EQ(CEngineProtocol::EncodeAnswer(1), one);
    EXPECT_EQ(CEngineProtocol::EngineArguments(7, "/run/x"),
              (std::vector<std::string>{"1", "7", "/run/x"}));
}

TEST(EngineOptions, CommandLineAndPacing) {
    struct SCase {
        std::vector<const char*> args; // after the program name
        const char* pszEnv;
        bool bOk;
        int nRate;
        bool bVerbose;
    };
    const SCase cases[] = {
        {{"1", "5", "/run"}, nullptr, true, CEngineProtocol::kDefaultRate, false},
        {{"1", "5", "/run", "--fast"}, nullptr, true, 0, false},
        {{"1", "5", "/run", "--rate", "250", "--verbose"}, nullptr, true, 250, true},
        {{"1", "5", "/run"}, "fast", true, 0, false},
        {{"1", "5", "/run"}, "30", true, 30, false},
        {{"1", "5", "/run", "--rate", "7"}, "fast", true, 7, false}, // the option wins
        {{"1", "5", "/run"}, "slow", false, 0, false},
        {{"1", "5", "/run", "--rate", "0"}, nullptr, false, 0, false},
        {{"1", "5", "/run", "--rate", "2000000"}, nullptr, false, 0, false},
        {{"1", "5", "/run", "--rate"}, nullptr, false, 0, false},
        {{"1", "-5", "/run"}, nullptr, false, 0, false},
        {{"1", "5x", "/run"}, nullptr, false, 0, false},
        {{"0", "5", "/run"}, nullptr, false, 0, false},
        {{"1", "5", ""}, nullptr, false, 0, false},
        {{"1", "5"}, nullptr, false, 0, false},
    };
    for (const SCase& c : cases) {
        std::vector<const char*> argv = {"engine"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        CEngineOptions options;
        std::string strError;
        const bool bOk =
            options.Parse(static_cast<int>(argv.size()), argv.data(), c.pszEnv, strError);
        const std::string strCase = ::testing::PrintToString(c.args);
        ASSERT_EQ(bOk, c.bOk) << strCase << " " << strError;
        if (!bOk) {
            EXPECT_FALSE(strError.empty()) << strCase;
            continue;
        }
        EXPECT_EQ(options.m_nSocketFd, 5) << strCase;
        EXPECT_EQ(options.m_strRunFolder, "/run") << strCase;
        EXPECT_EQ(options.m_nRate, c.nRate) << strCase;
        EXPECT_EQ(options.m_bVerbose, c.bVerbose) << strCase;
    }
}

TEST(EngineNetlistInput, DropsCrAndLeadingBlankLinesAndAddsSaveNoneBeforeEnd) {
    struct SCase {
        std::string strText;
        std::vector<std::string> expected;
        double fStep;
        double fStart;
    };
    const SCase cases[] = {
        {"\r\nTitle\r\n.tran 0.1ms 600s 0 0.1ms\r\nR1 1 0 1\r\n.end",
         {"Title", ".tran 0.1ms 600s 0 0.1ms", "R1 1 0 1", ".save none", ".end"},
         1e-4,
         0.0},
        {"\n\n  \nTitle\n.TRAN 10u 1 2.5Meg\n.END  \nafter",
         {"Title", ".TRAN 10u 1 2.5Meg", ".save none", ".END  ", "after"},
         1e-5,
         2.5e6},
        {"Title\r\nR1 1 0 1", {"Title", "R1 1 0 1", ".save none", ".end"}, 0.0, 0.0},
        {".end\r\n.tran x 1\r\nR1 1 0 1",
         {".end", ".tran x 1", "R1 1 0 1", ".save none", ".end"},
         0.0,
         0.0},
    };
    for (const SCase& c : cases) {
        CNetlistInput input;
        std::string strError;
        ASSERT_TRUE(input.SetText(c.strText, strError)) << strError;
        EXPECT_EQ(input.Lines(), c.expected) << c.strText;
        EXPECT_DOUBLE_EQ(input.StepSeconds(), c.fStep) << c.strText;
        EXPECT_DOUBLE_EQ(input.StartSeconds(), c.fStart) << c.strText;
    }
    CNetlistInput input;
    std::string strError;
    EXPECT_FALSE(input.SetText("\r\n\r\n", strError));
    EXPECT_FALSE(input.SetText(std::string("T\r\nR1 1 0 1\0x", 13), strError));
}

TEST_F(EngineTest, WorkedExampleOneGivesThreeVoltsOverTwentyOneOhms) {
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(kWorkedExample1)));
    EXPECT_EQ(m_note.nWParam, 3);

    const std::string strVoltages = m_engine.ReadRunFile("temp.dat");
    EXPECT_EQ(strVoltages.rfind("time = 0.000000e+00\n", 0), 0u) << strVoltages;
    SVoltageStep step;
    ASSERT_TRUE(m_engine.ReadVoltages(step)) << strVoltages;
    EXPECT_EQ(step.order, (std::vector<int>{2, 3}));
    const double fCurrent = 3.0 / 21.0;
    EXPECT_NEAR(step.voltages[3], -3.0, 1e-6);
    EXPECT_NEAR(step.voltages[2], -fCurrent * 1.0, 1e-6); // across the 1 ohm resistor
    EXPECT_EQ(m_engine.ReadRunFile("amp.dat").rfind("v3#branch\n", 0), 0u);
    EXPECT_NEAR(Current("v3#branch"), -fCurrent, 1e-6);

    // One step per 0.1 ms of simulated time, the same values at every step.
    for (int k = 1; k <= 50; ++k) {
        ASSERT_TRUE(m_engine.Answer(1));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record) << "step " << k;
        ASSERT_TRUE(m_engine.ReadVoltages(step));
        ASSERT_NEAR(step.fTime, k * 1e-4, 1e-9) << "step " << k;
        ASSERT_NEAR(step.voltages[3], -3.0, 1e-6);
    }
    EXPECT_NEAR(Current("v3#branch"), -fCurrent, 1e-6);
    StopAndExpectExit();
}

TEST_F(EngineTest, WorkedExampleTwoReportsTheAmmeterCurrent) {
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(kWorkedExample2)));
    EXPECT_EQ(m_note.nWParam, 3);
    // 3 V over 1 ohm: 3 A flow out of the battery's node 0 terminal through the 0 V source.
    EXPECT_NEAR(Current("v4#branch"), 3.0, 1e-6);
    EXPECT_NEAR(Current("v3#branch"), -3.0, 1e-6);
    SVoltageStep step;
    ASSERT_TRUE(m_engine.ReadVoltages(step));
    EXPECT_NEAR(step.voltages[2], 0.0, 1e-9);
    StopAndExpectExit();
}

TEST_F(EngineTest, DividerAndSineSourceFollowTheSimulatedTime) {
    // A 10 V divider read by a voltmeter's 1e12 ohm stand-in, and a 5 V 50 Hz sine source
    // across 1 kohm in a second sub-circuit tied to node 0 by 0.123 ohm.
    const std::vector<std::string> elements = {
        "V1 0 1 1.000000e+001",
        "R2 1 2 1.000000e+003",
        "R3 2 0 3.000000e+003",
        "R4 2 0 1.000000e+012",
        "******** Another circuit : connected by a single resist",
        "Ra1 0 3 0.123000",
        "V5 4 3 SIN(0 5.000000 50.000000)",
        "R6 4 3 1.000000e+003"};
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(elements)));
    EXPECT_EQ(m_note.nWParam, 4);
    for (int k = 0; k <= 60; ++k) {
        SVoltageStep step;
        ASSERT_TRUE(m_engine.ReadVoltages(step));
        ASSERT_NEAR(step.fTime, k * 1e-4, 1e-9);
        ASSERT_NEAR(step.voltages[1], -10.0, 1e-6);
        ASSERT_NEAR(step.voltages[2], -7.5, 1e-5);
        const double fSine = 5.0 * std::sin(2.0 * M_PI * 50.0 * step.fTime);
        ASSERT_NEAR(step.voltages[4] - step.voltages[3], fSine, 2e-3) << "t = " << step.fTime;
        ASSERT_TRUE(m_engine.Answer(1));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
    }
    StopAndExpectExit();
}

TEST_F(EngineTest, EveryKindOfElementLineRunsAndGivesSensibleValues) {
    // One of each line the workbench writes: transistors, JFET, MOSFET, capacitor, Zener with
    // its model text, diode, inductor, a transformer whose secondary is a second sub-circuit,
    // square and triangle generators and an amplifier.
    const std::vector<std::string> elements = {
        "V1 1 0 9.000000",
        "Q2 3 4 0 QMOD2",
        ".model QMOD2 NPN(BF=100.000000 rb=100 tf=0.1ns cdc=2pf)",
        "R3 1 3 1.000000e+003",
        "R4 1 4 1.000000e+005",
        "Q5 6 7 1 QMOD5",
        ".model QMOD5 PNP(BF=100.000000 rb=100 tf=0.1ns cdc=2pf)",
        "R6 6 0 1.000000e+003",
        "R7 7 0 1.000000e+005",
        "J8 9 0 0 JMOD8",
        ".model JMOD8 NJF(BF=100.000000)",
        "R9 1 9 1.000000e+003",
        "M10 11 12 0 0 MMOD10",
        ".model MMOD10 NMOS(BF=100.000000)",
        "R11 1 11 1.000000e+003",
        "R12 1 12 1.000000e+003",
        "C13 14 0 1.000000e-005",
        "R14 1 14 1.000000e+003",
        "D15 0 16 D1N751",
        ".model D1N751\tD(Is=1.004f Rs=.5875 Ikf=0 N=1 Xti=3 Eg=1.11 Cjo=160p M=.5484",
        "+\t\tVj=.75 Fc=.5 Isr=1.8n Nr=2 Bv=5.1 Ibv=27.721m Nbv=1.1779",
        "+\t\tIbvl=1.1646m Nbvl=21.894 Tbv1=176.47u)",
        "*\t\tVz = 5.1 @ 20mA, Zz = 175 @ 1mA, Zz = 8.2 @ 5mA, Zz = 2.2 @ 20mA",
        "R16 1 16 1.000000e+003",
        "D17 1 18 D1N3493 OFF",
        "R18 18 0 1.000000e+003",
        "L19 1 20 2.000000e-002",
        "R20 20 0 1.000000e+001",
        "V24 24 0 SIN(0 10.000000 50.000000)",
        "L21K1 40 41 1.000000",
        "R11L21K1 40 24 0.000500",
        "R12L21K1 41 0 0.000500",
        "V30 31 0 PULSE(5.000000 0 0 0 0 0.000500s 0.001000s)",
        "R31 31 0 1.000000e+003",
        "V32 33 0 PULSE(0 5.000000 0 0.000500s 0.000495s 1ns 0.001000s)",
        "R33 33 0 1.000000e+003",
        "Va34p 45 0 15",
        "Va34n 46 0 -15",
        "X34 37 38 45 46 39 AD",
        "R37 37 0 1.000000e+003",
        "V38 38 0 SIN(0 0.100000 1000.000000)",
        "R39 39 0 1.000000e+004",
        "R40 39 37 1.000000e+004",
        "******** Another circuit : connected by a single resist",
        "Ra1 0 28 0.123000",
        "L21K2 42 43 4.000000",
        "R21L21K2 42 27 0.000500",
        "R22L21K2 43 28 0.000500",
        "R29 27 28 1.000000e+002",
        "K21 L21K1 L21K2 0.990000"};
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(elements)));
    EXPECT_EQ(m_note.nWParam, 46);
    double fPeak = 0.0;
    for (int k = 0; k < 400; ++k) { // two periods of 50 Hz
        SVoltageStep step;
        ASSERT_TRUE(m_engine.ReadVoltages(step));
        ASSERT_NEAR(step.voltages[16], 5.04, 0.1) << "the Zener holds its voltage";
        ASSERT_NEAR(step.voltages[45], 15.0, 1e-6);
        ASSERT_NEAR(step.voltages[46], -15.0, 1e-6);
        fPeak = std::max(fPeak, std::fabs(step.voltages[27] - step.voltages[28]));
        ASSERT_TRUE(m_engine.Answer(1));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
    }
    // Turns ratio 2 (inductance ratio 4) on a 10 V peak primary, lightly loaded.
    EXPECT_GT(fPeak, 17.0);
    EXPECT_LT(fPeak, 20.5);
    EXPECT_NEAR(Current("l19#branch"), 0.9, 1e-3); // 9 V over 10 ohm through the inductor
    StopAndExpectExit();
}

TEST_F(EngineTest, EndOfTheAnalysisEndsTheEngine) {
    m_engine.WriteNetlist(WorkbenchNetlist(kWorkedExample1, ".tran 0.1ms 1ms 0 0.1ms"));
    ASSERT_TRUE(m_engine.Start());
    int nSteps = 0;
    for (;;) {
        const EStatus status = m_engine.ReadNotification(m_note);
        if (status != EStatus::Record) {
            EXPECT_EQ(status, EStatus::EndOfFile);
            break;
        }
        ++nSteps;
        ASSERT_TRUE(m_engine.Answer(1));
    }
    EXPECT_EQ(nSteps, 11); // 0, 0.1 ms, ..., 1 ms
    EXPECT_EQ(m_engine.WaitExit(), 0);
}

TEST_F(EngineTest, ClosingTheSocketStopsTheEngine) {
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(kWorkedExample1)));
    m_engine.CloseSocket();
    EXPECT_EQ(m_engine.WaitExit(), 0);
}

TEST_F(EngineTest, ALeakedCopyOfThePeerEndDoesNotHideItsEndOfFile) {
    m_engine.WriteNetlist(WorkbenchNetlist(kWorkedExample1));
    ASSERT_TRUE(m_engine.Start({"--fast"}, true));
    ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
    m_engine.CloseSocket();
    EXPECT_EQ(m_engine.WaitExit(5000), 0);
}

TEST_F(EngineTest, SigtermStopsTheEngineWhileItWaitsOrPaces) {
    for (const char* pszRate : {"--fast", "--rate"}) {
        CEngineHarness engine;
        engine.WriteNetlist(WorkbenchNetlist(kWorkedExample1));
        std::vector<std::string> options = {pszRate};
        if (options[0] == "--rate")
            options.push_back("1"); // the next step is a second away
        ASSERT_TRUE(engine.Start(options));
        SEngineNotification note;
        ASSERT_EQ(engine.ReadNotification(note), EStatus::Record) << engine.Log();
        if (options.size() > 1) {
            ASSERT_TRUE(engine.Answer(1));
        }
        engine.Signal(SIGTERM);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(engine.WaitExit(), 0) << pszRate << "\n" << engine.Log();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    }
}

TEST_F(EngineTest, RateOptionPacesTheSteps) {
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(kWorkedExample1), {"--rate", "50"}));
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 10; ++k) {
        ASSERT_TRUE(m_engine.Answer(1));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
    }
    // Ten further steps at 50 per second take 200 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(180));
    StopAndExpectExit();
}

TEST_F(EngineTest, OnlyTheSocketIsOpenBesidesTheStandardStreamsAndTheEnginesOwn) {
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(kWorkedExample1)));
    const std::string strFds = "/proc/" + std::to_string(m_engine.Pid()) + "/fd";
    const std::string strFolder = std::filesystem::canonical(m_engine.RunFolder()).string();
    const std::set<std::string> own = {strFolder + "/temp.dat", strFolder + "/amp.dat"};
    std::vector<std::string> unexpected;
    bool bSocket = false;
    for (const auto& entry : std::filesystem::directory_iterator(strFds)) {
        const int nFd = std::stoi(entry.path().filename().string());
        std::error_code error;
        const std::string strTarget = std::filesystem::read_symlink(entry.path(), error).string();
        // Besides the result files, the engine's own event and signal descriptors are anonymous.
        if (nFd == 3) {
            bSocket = strTarget.rfind("socket:", 0) == 0;
        } else if (nFd > 2 && strTarget.rfind("anon_inode:", 0) != 0 && own.count(strTarget) == 0) {
            unexpected.push_back(std::to_string(nFd) + " -> " + strTarget);
        }
    }
    EXPECT_TRUE(bSocket);
    EXPECT_TRUE(unexpected.empty()) << ::testing::PrintToString(unexpected);
    StopAndExpectExit();
}

TEST_F(EngineTest, ShorterStepsLeaveNoTailOfTheLongerOnes) {
    // Values grow from 0 to nine digits of exponent text and back; every step must parse.
    const std::vector<std::string> elements = {
        "V1 1 0 PULSE(0 -5.000000 0 0 0 0.000500s 0.001000s)", "R2 1 0 1.000000e+003"};
    ASSERT_NO_FATAL_FAILURE(StartOn(WorkbenchNetlist(elements)));
    for (int k = 0; k < 30; ++k) {
        SVoltageStep step;
        ASSERT_TRUE(m_engine.ReadVoltages(step)) << m_engine.ReadRunFile("temp.dat");
        std::vector<std::pair<std::string, double>> currents;
        ASSERT_TRUE(m_engine.ReadCurrents(currents)) << m_engine.ReadRunFile("amp.dat");
        ASSERT_EQ(currents.size(), 1u);
        ASSERT_TRUE(m_engine.Answer(1));
        ASSERT_EQ(m_engine.ReadNotification(m_note), EStatus::Record);
    }
    StopAndExpectExit();
}

TEST_F(EngineTest, RefusedNetlistsAndFailedRunsEndWithoutANotification) {
    struct SCase {
        const char* pszName;
        std::vector<std::string> elements;
        const char* pszReason; // in ngspice's words
    };
    const SCase cases[] = {
        {"unknown model",
         {"V3 0 3 3.000000", "Q5 3 2 0 NOMOD"},
         "could not find a valid modelname"},
        {"ammeter across the battery", {"V3 0 1 3.000000", "V4 0 1 0.000000"}, "singular matrix"},
        {"no analysis", {}, ""},
    };
    for (const SCase& c : cases) {
        CEngineHarness engine;
        std::string strText = WorkbenchNetlist(c.elements);
        if (c.elements.empty())
            strText = "\r\nKest-generated Input file\r\nR1 1 0 1\r\n.end";
        engine.WriteNetlist(strText);
        ASSERT_TRUE(engine.Start());
        SEngineNotification note;
        EXPECT_EQ(engine.ReadNotification(note), EStatus::EndOfFile) << c.pszName;
        const std::optional<int> nExit = engine.WaitExit();
        ASSERT_TRUE(nExit.has_value()) << c.pszName;
        EXPECT_EQ(*nExit, 1) << c.pszName << "\n" << engine.Log();
        EXPECT_NE(engine.Log().find(c.pszReason), std::string::npos) << c.pszName << "\n"
                                                                     << engine.Log();
    }
}

TEST_F(EngineTest, BadStartsAreRefusedBeforeAnyStep) {
    struct SCase {
        const char* pszName;
        std::vector<std::string> arguments; // empty: the usual three
        bool bNetlist;
        int nExit;
        const char* pszMessage;
    };
    const SCase cases[] = {
        {"missing kest.cir", {}, false, 1, "kest.cir"},
        {"first argument", {"2", "3", "."}, true, 2, "usage:"},
        {"descriptor not a number", {"1", "x3", "."}, true, 2, "usage:"},
        {"descriptor not a socket", {"1", "1", "."}, true, 2, "not a socket"},
        {"unknown option", {}, true, 2, "unknown option"},
    };
    for (const SCase& c : cases) {
        CEngineHarness engine;
        if (c.bNetlist)
            engine.WriteNetlist(WorkbenchNetlist(kWorkedExample1));
        std::vector<std::string> options = {"--fast"};
        if (std::string(c.pszName) == "unknown option")
            options.push_back("--slow");
        ASSERT_TRUE(engine.Start(options, false, c.arguments));
        SEngineNotification note;
        EXPECT_EQ(engine.ReadNotification(note), EStatus::EndOfFile) << c.pszName;
        EXPECT_EQ(engine.WaitExit(), c.nExit) << c.pszName;
        EXPECT_NE(engine.Log().find(c.pszMessage), std::string::npos) << c.pszName << "\n"
                                                                      << engine.Log();
    }
}

} // namespace
