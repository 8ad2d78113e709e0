// CP932 texts shown on a UTF-8 terminal (the tour's output, test failure messages).
#pragma once
#include <string>

std::string Cp932ToUtf8(const std::string& cp932);
