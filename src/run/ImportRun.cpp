#include "ImportRun.h"

#include "RunHost.h"

ImportRun::ImportRun(RunHost& host)
    : host_(host)
{
}

void ImportRun::execute()
{
    host_.processEvents();

    // End of run: an unattended program ends as soon as its message loop starts.
    if (host_.unattended())
        host_.requestQuit();
}
