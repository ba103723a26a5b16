# Empty dependencies file for prvdrinfo_static.
# This may be replaced when dependencies are built.
