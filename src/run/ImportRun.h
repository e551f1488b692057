#pragma once

class RunHost;

// One import run, started by "Executar Rotina" or by "/executa".
class ImportRun {
public:
    explicit ImportRun(RunHost& host);

    // Failures that the run does not handle itself leave as Error.
    void execute();

private:
    RunHost& host_;
};
