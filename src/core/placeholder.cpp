int qv_placeholder() { return 1; }
