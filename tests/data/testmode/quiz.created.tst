[v]
t=quiz
