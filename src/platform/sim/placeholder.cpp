namespace wendrel {}
