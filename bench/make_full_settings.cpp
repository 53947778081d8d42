// Writes the full settings file of the startup benchmark: 16 stores of ten
// 31,999-character texts made of lines, as typed or pasted text is.
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ofstream out(argv[1], std::ios::binary);
    out << "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n";
    for (int store = 0; store < 16; ++store) {
        out << "[Savings" << store << "]\r\n";
        for (int i = 0; i < 10; ++i) {
            out << "txt(" << i << ")=";
            // Lines of 78 letters, each closed by the stored line break.
            for (int c = 0; c < 31999; ++c) {
                if (c % 80 == 78 && c + 1 < 31999) {
                    out << "\xFF\xF6";
                    ++c;
                } else {
                    out << static_cast<char>('a' + (c + i + store) % 26);  // no two stores alike
                }
            }
            out << "\r\ntxtTitle(" << i << ")=Slot " << i + 1 << "\r\n";
        }
    }
    return out ? 0 : 1;
}
