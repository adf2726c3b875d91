#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace quillmar::sim {

// Reads command lines from a FIFO on a thread of its own and hands each one,
// without its line end, to the handler. Writers may come and go: after the
// last writer closes, the FIFO is opened again. A missing FIFO is created.
class SimControlPipe {
public:
    using LineHandler = std::function<void(std::string_view line)>;

    SimControlPipe(std::filesystem::path fifo, LineHandler handler);
    ~SimControlPipe();  // stops and joins the reader
    SimControlPipe(const SimControlPipe&) = delete;
    SimControlPipe& operator=(const SimControlPipe&) = delete;

private:
    void run();
    int openFifo() const;
    // false when the FIFO reached its end or failed and must be reopened
    bool readAvailable(int fd);
    void takeLines();

    static constexpr std::size_t kLongestLine = 256;
    const std::filesystem::path fifo_;
    const LineHandler handler_;
    int wakeFd_ = -1;
    std::string pending_;
    std::thread reader_;
};

}  // namespace quillmar::sim
