// zelkon-critical-tables: computes the post tests' critical-value tables and writes their
// C++ source.  "zelkon-critical-tables FILE" writes FILE; "--check FILE" compares FILE with
// what the generator writes and fails when they differ; without arguments the source goes
// to standard output.
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "table_generation.h"

int main(int argc, char** argv) {
    using namespace zelkon::tables;
    const std::string first = argc > 1 ? argv[1] : "";
    const bool check = first == "--check";
    if ((check && argc != 3) || (!check && argc > 2)) {
        std::cerr << "usage: zelkon-critical-tables [FILE | --check FILE]\n";
        return 2;
    }
    try {
        const GeneratedTables tables = GenerateTables(&std::cerr);
        auto reportTies = [](const auto& columns) {
            for (const auto& column : columns) {
                for (const auto& level : column) {
                    for (const StoredEntry& e : level) {
                        if (e.nearTie) {
                            std::cerr << "near a rounding tie: " << static_cast<double>(e.computed)
                                      << "\n";
                        }
                    }
                }
            }
        };
        reportTies(tables.studentizedRange);
        reportTies(tables.dunnett);
        const std::string source = TableSource(tables);
        if (check) {
            std::ifstream in(argv[2], std::ios::binary);
            std::ostringstream committed;
            committed << in.rdbuf();
            if (!in || committed.str() != source) {
                std::cerr << argv[2] << " differs from the generated tables\n";
                return 1;
            }
            std::cerr << argv[2] << " equals the generated tables\n";
            return 0;
        }
        if (argc == 2) {
            std::ofstream out(argv[1], std::ios::binary);
            out << source;
            if (!out.flush()) {
                std::cerr << "cannot write " << argv[1] << "\n";
                return 1;
            }
        } else {
            std::cout << source;
        }
    } catch (const std::exception& e) {
        std::cerr << "zelkon-critical-tables: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
