int gain;
