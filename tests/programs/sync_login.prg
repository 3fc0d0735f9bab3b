// Logs in to a running zeltasyncd, runs its (empty) task list and says
// goodbye; then a user the server does not know is refused with its text.
// run_with_server.sh starts the server and puts its port in for 8025.
FUNCTION Main()
LOCAL nPort := 8025
? "joe:", DoSync("T", "127.0.0.1", nPort, 20, "joe", "dev1")
? "bob:", DoSync("T", "127.0.0.1", nPort, 20, "bob", "dev1")
RETURN NIL
