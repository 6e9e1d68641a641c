#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zorlet::test {
namespace {

struct ProgramRun {
    int status = -1;
    std::string output;
};

// Runs a program without a display and collects what it prints.
ProgramRun runProgram(const std::string& binary, const std::string& arguments, const std::string& folder) {
    std::string command =
        "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" + binary + "' " + arguments + " 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, got);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ProgramRun runZorlet(const std::string& arguments, const std::string& folder = ZORLET_SOURCE_DIR) {
    return runProgram(ZORLET_BINARY, arguments, folder);
}

ProgramRun runSandbox(const std::string& arguments) {
    return runProgram(ZORLET_SANDBOX_BINARY, arguments, ZORLET_SOURCE_DIR);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("zorlet-program-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string sandboxArguments() const {
        return "--sandbox --sandbox-data '" + (folder_ / "sandbox").string() + "' --data '" +
               (folder_ / "client").string() + "'";
    }
    std::filesystem::path folder_;
};

TEST_F(ProgramTest, AFailingFlowExitsNonZeroWithTheScreenDump) {
    auto run = runZorlet(sandboxArguments() + " --flow tests/host/flows/failing-assert.yaml");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("[2/3] assertVisible"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("FAILED"), std::string::npos);
    EXPECT_NE(run.output.find("screen:\nWindow (0,0,320,480)"), std::string::npos);
    // Logs also go to the data folder.
    EXPECT_TRUE(std::filesystem::exists(folder_ / "client" / "Logs" / "zorlet.log"));
}

TEST_F(ProgramTest, BadCommandLinesAndFlowsAreRefused) {
    auto run = runZorlet("--sandbox --flow");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("--flow needs a value"), std::string::npos) << run.output;

    std::ofstream(folder_ / "typo.yaml") << "- launchApp\n- tapOm: x\n";
    run = runZorlet("--api http://127.0.0.1:9 --data '" + (folder_ / "client").string() + "' --flow '" +
                    (folder_ / "typo.yaml").string() + "'");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("line 2: unknown command tapOm"), std::string::npos) << run.output;
}

TEST_F(ProgramTest, BothProgramsExplainTheirOptionsAndRefuseBadOnes) {
    auto help = runZorlet("--help");
    EXPECT_EQ(help.status, 0) << help.output;
    for (const char* option : {"--sandbox", "--api", "--flow", "--tour", "--location", "--no-mail"}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option << "\n" << help.output;
    }
    auto stray = runZorlet("--sandbox stray");
    EXPECT_EQ(stray.status, 2);
    EXPECT_NE(stray.output.find("unknown option stray"), std::string::npos) << stray.output;

    help = runSandbox("--help");
    EXPECT_EQ(help.status, 0) << help.output;
    for (const char* option : {"--db", "--port", "--seed", "--data", "--resources", "--test-control"}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option << "\n" << help.output;
    }
    // Each refusal names the option at fault; none starts a service.
    std::string database = "'" + (folder_ / "never.db").string() + "'";
    struct Case {
        std::string arguments;
        const char* named;
    };
    for (const Case& c : {Case{"", "--db"}, Case{"--db " + database + " --port 70000", "--port"},
                          Case{"--db " + database + " --port http", "--port"},
                          Case{"--db " + database + " --seed everything", "--seed"},
                          Case{"--db " + database + " --fast", "--fast"}, Case{"--db", "--db"}}) {
        auto run = runSandbox(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.named), std::string::npos) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("serving"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "never.db"));
}

TEST_F(ProgramTest, WithoutADisplayTheMainCommandToursEveryScreen) {
    // What `scripts/run` does on a machine without a display: the tour into a folder it names.
    auto tour = folder_ / "work";
    std::filesystem::create_directories(tour);
    auto run = runZorlet(sandboxArguments(), tour.string());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("no display"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("demo account demo@zorlet.local"), std::string::npos) << run.output;
    tour /= "zorlet-tour";
    ASSERT_TRUE(std::filesystem::exists(tour / "index.html")) << run.output;
    std::ifstream html(tour / "index.html");
    std::stringstream text;
    text << html.rdbuf();
    EXPECT_NE(text.str().find("01-GuidanceViewController.png"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("WelcomeViewController.png"), std::string::npos);
    // Every step of the tour may be skipped, so a screen that stops being reachable would
    // quietly drop out of it: name the screens it must show.
    for (const char* screen : {"RegisterViewController",
                               "LoginViewController",
                               "UserViewController",
                               "IdeaViewController",
                               "IdeaDetailViewController",
                               "IdeaUsersViewController",
                               "IdeaLocationViewController",
                               "ComposeFormViewController",
                               "ShareIdeaInputViewController",
                               "SmsViewController",
                               "DialogContentViewController",
                               "HomeViewController",
                               "InviteInputViewController",
                               "InterestUserViewController",
                               "EditorListViewController",
                               "UserPreferenceSettingViewController",
                               "UserPreferenceCheckboxViewController",
                               "UserPreferenceDescriptionViewController",
                               "UserPreferenceTextareaViewController",
                               "ConfigViewController",
                               "PrivacyViewController",
                               "BlacklistViewController",
                               "FeedbackViewController",
                               "ProtocalViewController",
                               "PostDetailViewController",
                               "ResponseUsersViewController",
                               "TaHomeViewController",
                               "UserPostViewController",
                               "PrepareDateTaViewController",
                               "ExternalCategoryListViewController",
                               "SendPostViewController",
                               "RescueUsersViewController",
                               "ExternalPostListViewController",
                               "ExternalPostDetailViewController",
                               "SendExternalPostViewController"}) {
        EXPECT_NE(text.str().find(std::string("-") + screen + ".png"), std::string::npos) << screen;
    }
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(tour)) {
        pictures += entry.path().extension() == ".png" ? 1 : 0;
    }
    EXPECT_GE(pictures, 2);
}

}  // namespace
}  // namespace zorlet::test
