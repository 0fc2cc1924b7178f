#pragma once

class HttpServer;
class TestOkruzenje;

// An installation of one program whose primary server publishes the control file it already has, so
// that the window's start-up finds nothing new.
void ObjaviIstuVerziju(TestOkruzenje& t, HttpServer& server);
