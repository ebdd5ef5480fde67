int latin1_named;
