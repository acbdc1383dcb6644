#include "linux/stdout_log.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace zelvora::network {
namespace {

// Whoever reads the log may stop reading; the relay must go on and say what it could not write.
TEST(StdoutLog, AFullPipeDropsLinesWithoutBlockingAndTheNextLineCountsThem) {
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_NONBLOCK), 0);
    const int savedStdout = dup(STDOUT_FILENO);
    dup2(pipeEnds[1], STDOUT_FILENO);
    const std::string filler(4096, 'x');
    while (write(pipeEnds[1], filler.data(), filler.size()) > 0) {
    }
    StdoutLog log;
    log.Line("lost");
    log.Line("lost too");
    char drain[65536];
    while (read(pipeEnds[0], drain, sizeof drain) > 0) {
    }
    log.Line("written");
    dup2(savedStdout, STDOUT_FILENO);
    const ssize_t got = read(pipeEnds[0], drain, sizeof drain);
    close(savedStdout);
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    const std::string text(drain, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    EXPECT_EQ(text.find("lost"), std::string::npos);
    EXPECT_TRUE(text.starts_with("(2 log lines dropped: nobody was reading)\n")) << text;
    EXPECT_TRUE(text.ends_with(" written\n")) << text;
}

} // namespace
} // namespace zelvora::network
