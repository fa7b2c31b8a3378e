#include "KestrixKit/System/TracingFunctions.h"

#include <charconv>

namespace kestrix {

std::string shortestDecimal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return std::to_string(value);
    return std::string(buffer, result.ptr);
}

std::function<void(double)> tracingSleep(std::function<void(double)> sleep, TraceSink trace) {
    return [sleep = std::move(sleep), trace = std::move(trace)](double seconds) {
        trace("sleep " + shortestDecimal(seconds));
        sleep(seconds);
    };
}

ExitWait tracingExitWait(ExitWait wait, TraceSink trace) {
    return [wait = std::move(wait), trace = std::move(trace)](const std::vector<ProcessIdentity>& processes,
                                                              double limitSeconds) {
        std::string line = "wait for exit";
        for (const ProcessIdentity& process : processes) line.append(1, ' ').append(std::to_string(process.pid));
        trace(line.append(" (at most ").append(shortestDecimal(limitSeconds)).append(")"));
        wait(processes, limitSeconds);
    };
}

TimeMachineRunner tracingRunner(TimeMachineRunner run, TraceSink trace, std::string command) {
    return [run = std::move(run), trace = std::move(trace), command = std::move(command)](
               const std::vector<std::string>& arguments) {
        std::string line = command;
        for (const std::string& argument : arguments) line += " " + argument;
        trace(line);
        return run(arguments);
    };
}

}  // namespace kestrix
