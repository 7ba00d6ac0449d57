#include "support/test_support.h"

#include <cstdlib>
#include <stdexcept>

namespace zelkon::test {

std::vector<std::string> PlainLines(const ResultsReport& report) {
    std::vector<std::string> lines = report.AllLines();
    for (std::string& line : lines) {
        std::string plain;
        for (char c : line) {
            if (c != ResultsReport::Emphasis1 && c != ResultsReport::Emphasis2 &&
                c != ResultsReport::Emphasis3) {
                plain.push_back(c);
            }
        }
        line = plain;
    }
    return lines;
}

std::string MakeTempDir() {
    char pattern[] = "/tmp/zelkon-test-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    if (dir == nullptr) throw std::runtime_error("mkdtemp failed");
    return dir;
}

}  // namespace zelkon::test
