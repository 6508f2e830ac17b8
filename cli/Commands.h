// The commands of resondix-cli. Each takes the arguments after its name and
// returns the exit status.
#pragma once

#include <string>
#include <vector>

int RunShow(const std::vector<std::string>& arguments);
int RunCurve(const std::vector<std::string>& arguments);
int RunFit(const std::vector<std::string>& arguments);
int RunSmooth(const std::vector<std::string>& arguments);
int RunEquivalence(const std::vector<std::string>& arguments);
int RunImport(const std::vector<std::string>& arguments);
int RunRender(const std::vector<std::string>& arguments);
int RunTable(const std::vector<std::string>& arguments);
int RunSection(const std::vector<std::string>& arguments);
int RunReport(const std::vector<std::string>& arguments);
