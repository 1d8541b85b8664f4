#include "platform/cmdline.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CommandLineTest, UnknownOptionsAndStrayWordsStopWithCodeTwo) {
  const struct {
    QStringList args;
    std::optional<int> exitCode;
  } cases[] = {
      {{"prog"}, std::nullopt},
      {{"prog", "--demo", "--data-root", "/tmp/x"}, std::nullopt},
      {{"prog", "--demo", "/tmp/x"}, 2},  // a folder without its option is not taken silently
      {{"prog", "--dmeo"}, 2},
      {{"prog", "--data-root"}, 2},  // the value is missing
      {{"prog", "--help"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"data-root", "root", "DIR"});
    parser.addOption({"demo", "demo"});
    EXPECT_EQ(ParseCommandLine(parser, c.args), c.exitCode);
  }
}

}  // namespace
}  // namespace vx
