// A front end that edits the document behind its session's back: the door check must refuse it.
void Edit(tavro::DocumentSession& session) { session.FixtureDoc().EditSet(); }
