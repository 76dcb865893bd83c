void capisim_stub() {}
