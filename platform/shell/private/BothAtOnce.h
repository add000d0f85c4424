#pragma once
// Two pieces of work at once, for the few jobs a large folder makes long
// enough to share with a second core.

#include <exception>
#include <system_error>
#include <thread>

// Runs here() on this thread and there() on a thread of its own, and returns
// when both are done; an exception of either is raised then (here()'s
// first). When no thread can be had, both run here, one after the other.
template <class Here, class There>
void BothAtOnce(Here&& here, There&& there)
{
    std::exception_ptr thereFailed;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                there();
            } catch (...) {
                thereFailed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        there();
        return;
    }
    std::exception_ptr hereFailed;
    try {
        here();
    } catch (...) {
        hereFailed = std::current_exception();
    }
    helper.join();
    if (hereFailed) std::rethrow_exception(hereFailed);
    if (thereFailed) std::rethrow_exception(thereFailed);
}
