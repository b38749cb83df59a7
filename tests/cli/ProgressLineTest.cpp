// The progress line of kelvara-cli: what it writes to its stream.
#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace kelvara::cli {
namespace {

using namespace std::chrono_literals;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

class ProgressLineTest : public ::testing::Test {
 protected:
  std::string Written() {
    std::fflush(stream_.get());
    std::rewind(stream_.get());
    std::string text;
    for (int c = std::fgetc(stream_.get()); c != EOF; c = std::fgetc(stream_.get())) text += static_cast<char>(c);
    return text;
  }
  std::unique_ptr<std::FILE, FileCloser> stream_{std::tmpfile()};
};

TEST_F(ProgressLineTest, RewritesBlanksAndClearsItsLine) {
  {
    ProgressLine line(stream_.get(), true, 1h);
    line.Show(L"Scanning Fonts (7/20)");
    line.Show(L"Scanning");
    line.ShowThrottled(L"too soon");
    line.Show(std::wstring(100, L'x'));
  }
  const std::string x79(79, 'x');
  EXPECT_EQ(Written(),
            "\rScanning Fonts (7/20)"
            "\rScanning" +
                std::string(13, ' ') + "\rScanning" + "\r" + x79 + "\r" + std::string(79, ' ') + "\r");
}

TEST_F(ProgressLineTest, ThrottledUpdatesPassOnceTheIntervalIsOver) {
  ProgressLine line(stream_.get(), true, 0ms);
  line.ShowThrottled(L"a");
  line.ShowThrottled(L"b");
  line.Clear();
  line.Clear();
  EXPECT_EQ(Written(), "\ra\rb\r \r");
}

TEST_F(ProgressLineTest, WritesNothingWhenTheStreamIsNoTerminal) {
  {
    ProgressLine line(stream_.get(), false, 0ms);
    line.Show(L"Scanning");
    line.ShowThrottled(L"Scanning");
  }
  EXPECT_EQ(Written(), "");
}

}  // namespace
}  // namespace kelvara::cli
