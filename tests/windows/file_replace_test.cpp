#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "tests/windows/window_driver.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

class NoMessages : public Messages {
public:
    void Show(std::string_view text, MessageIcon) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

size_t EntriesIn(const std::filesystem::path& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                             std::filesystem::directory_iterator()));
}

// Replacing a file goes through a rename over it, which Windows refuses unless asked to
// replace; a save over last time's result file must still work, and a file in use must be
// reported and kept as it was.
TEST(FileReplace, ASaveReplacesAnExistingFileOrReportsOneInUseAndLeavesNoTemporaryFile) {
    test::TempDir dir;
    const auto target = dir / L"-\u0436.txt";
    test::WriteBytes(target, std::string(5000, 'x'));
    Workspace ws;
    ws.CipherText.text = "ЖА";
    ws.PlainText.text = "О ";
    NoMessages messages;
    ASSERT_TRUE(SaveDocument(ws, messages, target));
    const std::string saved = FormatResultFile(ws);
    EXPECT_EQ(test::ReadBytes(target), saved);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_TRUE(messages.shown.empty());

    // Open without FILE_SHARE_DELETE: nothing may replace the file while this handle lives.
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ws.PlainText.text = "  ";
    EXPECT_FALSE(SaveDocument(ws, messages, target));
    CloseHandle(held);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(test::ReadBytes(target), saved);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace zam
